#include "mapping/frmCLTPrintMapping.h"

#include "mapping/MappingPrintout.h"
#include "ui/BoundGrid.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/PrintDialog.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTPrintMapping.h"

#include <QDate>
#include <QHeaderView>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace vx {

namespace {

constexpr const char* kPrintTitle = "Current Mapping";

// The visible grid as text: the header row first, then every shown row.
QList<QStringList> VisibleCells(const BoundGrid* grid)
{
    QList<int> columns;
    for (int c = 1; c < grid->Cols(); ++c)
        if (!grid->ColHidden(c))
            columns << c;
    QList<QStringList> cells;
    for (int r = 0; r < grid->Rows(); ++r) {
        if (r > 0 && grid->isRowHidden(r - 1))
            continue;
        QStringList row;
        for (int c : columns)
            row << grid->TextMatrix(r, c);
        cells << row;
    }
    return cells;
}

} // namespace

frmCLTPrintMapping::frmCLTPrintMapping(QWidget* mainMenu) : m_ui(new Ui::frmCLTPrintMapping), m_mainMenu(mainMenu)
{
    m_ui->setupUi(this);
    m_ui->fgUserLabels->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ui->fgUserLabels->horizontalHeader()->setStretchLastSection(true);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &frmCLTPrintMapping::cmdPrint_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTPrintMapping::cmdDone_Click);
}

frmCLTPrintMapping::~frmCLTPrintMapping()
{
    m_ui->fgUserLabels->Unbind();
    m_rs.Close();
}

BoundGrid* frmCLTPrintMapping::grid() const { return m_ui->fgUserLabels; }

void frmCLTPrintMapping::Display()
{
    m_released = false;
    CentreOnDesktop(this);
    LoadTheGrid();
    show();
}

void frmCLTPrintMapping::LoadTheGrid()
{
    BoundGrid* grid = m_ui->fgUserLabels;
    grid->Unbind();
    Guarded([&] {
        std::vector<MappingPrintRow> rows = ReadMappingForPrint();
        m_rs = RecordSet::InMemory({{"DB Name", FieldType::Text, false},
                                    {"Display Label", FieldType::Text, false},
                                    {"Mapped Column", FieldType::Text, false},
                                    {"Manual Parts Field", FieldType::Text, false}});
        Connection& conn = *m_rs.connection();
        Transaction transaction(conn);
        Statement st = conn.Prepare("INSERT INTO mem VALUES (?1, ?2, ?3, ?4)");
        for (const MappingPrintRow& row : rows) {
            st.Reset();
            st.BindText(1, row.MainName);
            st.BindText(2, row.UserLabel);
            st.BindText(3, row.MappedColumn);
            st.BindText(4, row.ManualField);
            st.Run();
        }
        transaction.commit();
        m_rs.Requery();
        grid->Bind(&m_rs);
        grid->AutoSize();
    });
}

void frmCLTPrintMapping::PrintGrid(QPrinter& printer)
{
    const QList<QStringList> cells = VisibleCells(m_ui->fgUserLabels);
    if (cells.isEmpty() || cells.front().isEmpty())
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRect area(0, 0, page.width(), page.height());

    QFont bodyFont(QStringLiteral("Sans Serif"), 10);
    QFont headFont = bodyFont;
    headFont.setBold(true);
    QFont titleFont = headFont;
    titleFont.setPointSize(16);

    // Column widths from the widest text, stretched to the page width.
    const int columns = static_cast<int>(cells.front().size());
    const QFontMetrics body(bodyFont, &printer);
    const QFontMetrics head(headFont, &printer);
    const int pad = body.averageCharWidth();
    QVector<int> widths(columns, 0);
    for (int r = 0; r < cells.size(); ++r)
        for (int c = 0; c < columns; ++c)
            widths[c] = std::max(widths[c], (r == 0 ? head : body).horizontalAdvance(cells[r][c]) + 2 * pad);
    int total = 0;
    for (int w : widths)
        total += w;
    const double stretch = total > 0 ? double(area.width()) / total : 1.0;
    for (int& w : widths)
        w = static_cast<int>(w * stretch);
    const int rowHeight = body.height() * 3 / 2;

    int pageNumber = 1;
    auto drawRow = [&](int y, const QStringList& row, bool header) {
        int x = area.left();
        painter.setFont(header ? headFont : bodyFont);
        for (int c = 0; c < columns; ++c) {
            QRect cell(x, y, widths[c], rowHeight);
            if (header)
                painter.fillRect(cell, QColor(225, 225, 225));
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignVCenter | Qt::AlignLeft, row[c]);
            x += widths[c];
        }
    };
    auto startPage = [&]() {
        painter.setFont(titleFont);
        const int titleHeight = QFontMetrics(titleFont, &printer).height();
        painter.drawText(QRect(area.left(), area.top(), area.width(), titleHeight), Qt::AlignLeft,
                         QString::fromLatin1(kPrintTitle));
        painter.setFont(bodyFont);
        painter.drawText(QRect(area.left(), area.top(), area.width(), titleHeight), Qt::AlignRight | Qt::AlignVCenter,
                         QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) +
                             QStringLiteral("   Page %1").arg(pageNumber));
        int y = area.top() + titleHeight * 3 / 2;
        drawRow(y, cells.front(), true);
        return y + rowHeight;
    };

    int y = startPage();
    for (int r = 1; r < cells.size(); ++r) {
        if (y + rowHeight > area.bottom()) {
            printer.newPage();
            ++pageNumber;
            y = startPage();
        }
        drawRow(y, cells[r], false);
        y += rowHeight;
    }
    painter.end();
}

void frmCLTPrintMapping::cmdPrint_Click()
{
    Guarded([&] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(QString::fromLatin1(kPrintTitle));
        if (!RunPrintDialog(printer, this))
            return;
        WaitCursor hourglass;
        PrintGrid(printer);
    });
}

void frmCLTPrintMapping::Shutdown()
{
    if (m_released)
        return;
    m_released = true;
    m_ui->fgUserLabels->Unbind();
    m_rs.Close();
    if (m_mainMenu)
        m_mainMenu->show();
    Unload();
}

void frmCLTPrintMapping::cmdDone_Click() { Shutdown(); }

void frmCLTPrintMapping::QueryUnloadByControlMenu() { Shutdown(); }

} // namespace vx
