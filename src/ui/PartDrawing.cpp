#include "ui/PartDrawing.h"

#include "base/NumberText.h"
#include "ui/BoundGrid.h"
#include "ui/UserSettings.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace vx {

namespace {

// The positions of one list written along one side of the bar, left to right; a label that
// would overlap the one before it is left out (its mark is still drawn).
void PaintPositionTexts(QPainter& painter, const QRectF& area, const QRectF& bar, double length,
                        const std::vector<double>& positions, qreal top, qreal height)
{
    const QFontMetricsF fm(painter.font(), painter.device());
    qreal freeFrom = area.left();
    for (double position : positions) {
        const QString text = QString::fromStdString(FormatNumber(position));
        const qreal w = fm.horizontalAdvance(text);
        const qreal x = bar.left() + bar.width() * position / length;
        const qreal left = std::clamp(x - w / 2, area.left(), std::max(area.left(), area.right() - w));
        if (left < freeFrom)
            continue;
        painter.drawText(QRectF(left, top, w + 1, height), Qt::AlignCenter, text);
        freeFrom = left + w + fm.averageCharWidth();
    }
}

void PaintHeader(QPainter& painter, const QRectF& line, const PartSketch& part)
{
    const QFont plain = painter.font();
    QFont bold = plain;
    bold.setBold(true);
    QString rest = QStringLiteral("   ") + QString::fromStdString(PartSizeText(part, false));
    const QString flags = QString::fromStdString(PartFlagsText(part));
    if (!flags.isEmpty())
        rest += QStringLiteral("   ") + flags;
    const QFontMetricsF boldMetrics(bold, painter.device()), plainMetrics(plain, painter.device());
    const qreal restWidth = std::min(plainMetrics.horizontalAdvance(rest), line.width() / 2);
    const QString name =
        boldMetrics.elidedText(QString::fromStdString(part.part), Qt::ElideRight, line.width() - restWidth);
    const qreal nameWidth = boldMetrics.horizontalAdvance(name);
    painter.setFont(bold);
    painter.drawText(QRectF(line.left(), line.top(), nameWidth + 1, line.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     name);
    painter.setFont(plain);
    const QRectF restLine(line.left() + nameWidth, line.top(), line.width() - nameWidth, line.height());
    painter.drawText(restLine, Qt::AlignLeft | Qt::AlignVCenter,
                     plainMetrics.elidedText(rest, Qt::ElideRight, restLine.width()));
}

} // namespace

QRectF PaintPartDrawing(QPainter& painter, const QRectF& area, const PartSketch& part, const PartMarks& marks,
                        bool withHeader)
{
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetricsF fm(painter.font(), painter.device());
    const qreal line = fm.height();
    qreal y = area.top();
    painter.setPen(Qt::black);
    if (withHeader) {
        PaintHeader(painter, QRectF(area.left(), y, area.width(), line), part);
        y += line;
    }
    QStringList problems;
    for (const std::string* problem : {&marks.scribes.problem, &marks.spaceBalls.problem})
        if (!problem->empty())
            problems << QString::fromStdString(*problem);

    // Above the bar the scribe positions, below it the space-ball positions.
    const qreal pad = std::max<qreal>(2, line / 2);
    const QRectF barSpan(area.left() + pad, y + line, area.width() - 2 * pad, 0);
    const qreal room = area.bottom() - barSpan.top() - line - problems.size() * line;
    QRectF bar;
    if (part.length > 0 && barSpan.width() > 0) {
        // The width to the same scale as the length, within what the area allows.
        const qreal scaled = barSpan.width() * part.width / part.length;
        const qreal height =
            std::clamp(scaled, std::min(line * 0.6, std::max<qreal>(room, 2)), std::max<qreal>(room, 2));
        bar = QRectF(barSpan.left(), barSpan.top(), barSpan.width(), height);
        painter.setPen(QPen(QColor(PartDrawingColour::Outline), 0));
        painter.setBrush(QColor(PartDrawingColour::Bar));
        painter.drawRect(bar);

        const qreal markWidth = std::max<qreal>(1, line / 8);
        painter.setPen(QPen(QColor(PartDrawingColour::Scribe), markWidth, Qt::SolidLine, Qt::FlatCap));
        for (double position : marks.scribes.positions) {
            const qreal x = bar.left() + bar.width() * position / part.length;
            painter.drawLine(QPointF(x, bar.top()), QPointF(x, bar.bottom()));
        }
        PaintPositionTexts(painter, area, bar, part.length, marks.scribes.positions, bar.top() - line, line);

        const qreal radius = std::max<qreal>(1.5, std::min(bar.height() / 3, line / 3));
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(PartDrawingColour::SpaceBall));
        for (double position : marks.spaceBalls.positions) {
            const qreal x = bar.left() + bar.width() * position / part.length;
            painter.drawEllipse(QPointF(x, bar.center().y()), radius, radius);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QColor(PartDrawingColour::SpaceBall));
        PaintPositionTexts(painter, area, bar, part.length, marks.spaceBalls.positions, bar.bottom(), line);
        y = bar.bottom() + line;
    } else {
        y = barSpan.top();
    }

    painter.setPen(QColor(PartDrawingColour::Problem));
    for (const QString& problem : problems) {
        painter.drawText(QRectF(area.left(), y, area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                         fm.elidedText(problem, Qt::ElideRight, area.width()));
        y += line;
    }
    painter.restore();
    return bar;
}

PartDrawing::PartDrawing(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picPartDrawing"));
    // The drawing takes the width it is given and never asks a screen for more.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void PartDrawing::Follow(BoundGrid* grid)
{
    m_grid = grid;
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &PartDrawing::ReadCurrentRow);
    connect(grid->model(), &QAbstractItemModel::modelReset, this, &PartDrawing::ReadCurrentRow);
    connect(grid->model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                const int row = m_grid ? m_grid->currentIndex().row() : -1;
                if (row >= topLeft.row() && row <= bottomRight.row())
                    ReadCurrentRow();
            });
    ReadCurrentRow();
}

void PartDrawing::ReadCurrentRow()
{
    const int row = m_grid ? m_grid->currentIndex().row() : -1;
    RecordSet* rs = m_grid ? m_grid->recordSet() : nullptr;
    if (!rs || row < 0 || row >= rs->RecordCount()) {
        Clear();
        return;
    }
    try {
        ShowPart(ReadPartSketch(*rs, row));
    } catch (const std::exception&) {
        // A row that can no longer be read (the table changed behind the grid) draws nothing.
        Clear();
    }
}

void PartDrawing::ShowPart(const PartSketch& part)
{
    m_part = part;
    m_marks = PartMarkPositions(part);
    update();
}

void PartDrawing::Clear()
{
    m_part.reset();
    m_marks = {};
    m_bar = {};
    update();
}

void PartDrawing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRectF area = QRectF(rect()).adjusted(6, 4, -6, -4);
    if (m_part) {
        m_bar = PaintPartDrawing(painter, area, *m_part, m_marks, true);
    } else {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(area, Qt::AlignCenter, tr("Select a part to see its drawing."));
    }
}

PartDrawingPanel::PartDrawingPanel(QWidget* parent)
    : QWidget(parent), m_toggle(new QCheckBox(tr("Part drawing"), this)), m_drawing(new PartDrawing(this))
{
    m_toggle->setObjectName(QStringLiteral("chkShowPartDrawing"));
    m_toggle->setChecked(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_toggle);
    layout->addWidget(m_drawing);
    m_drawing->setFixedHeight(m_drawing->sizeHint().height());
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    connect(m_toggle, &QCheckBox::toggled, this, [this](bool shown) {
        m_drawing->setVisible(shown);
        if (!m_key.isEmpty())
            RememberValue(m_key, shown);
    });
}

void PartDrawingPanel::Follow(BoundGrid* grid, const QString& settingsKey)
{
    m_key.clear();
    m_toggle->setChecked(RememberedValue(settingsKey, true).toBool());
    m_drawing->setVisible(m_toggle->isChecked());
    m_key = settingsKey;
    m_drawing->Follow(grid);
}

} // namespace vx
