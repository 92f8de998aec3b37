#include "parts/frmCLTPrintLabels.h"

#include "base/Messages.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/PrintDialog.h"
#include "ui/UserSettings.h"
#include "ui_frmCLTPrintLabels.h"

#include <QPrinter>

#include <optional>

namespace vx {

namespace {
const QString kSheetKey = QStringLiteral("LabelSheet");
const QString kPerUnitKey = QStringLiteral("LabelsPerUnit");
} // namespace

frmCLTPrintLabels::frmCLTPrintLabels(QWidget* parent, int selectedRows)
    : QDialog(parent), m_ui(new Ui::frmCLTPrintLabels)
{
    m_ui->setupUi(this);
    for (int i = 0; i < kLabelSheetCount; ++i)
        m_ui->cmboSheet->addItem(LabelSheetName(static_cast<LabelSheet>(i)), i);
    const int remembered = RememberedValue(kSheetKey, 0).toInt();
    m_ui->cmboSheet->setCurrentIndex(remembered >= 0 && remembered < kLabelSheetCount ? remembered : 0);
    const bool perUnit = RememberedValue(kPerUnitKey, true).toBool();
    m_ui->optPerUnit->setChecked(perUnit);
    m_ui->optPerRow->setChecked(!perUnit);
    m_ui->optSelectedRows->setText(QStringLiteral("Selected rows (%1)").arg(selectedRows));
    m_ui->optSelectedRows->setEnabled(selectedRows > 0);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &frmCLTPrintLabels::cmdPrint_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmCLTPrintLabels::~frmCLTPrintLabels() = default;

bool frmCLTPrintLabels::perUnit() const { return m_ui->optPerUnit->isChecked(); }
bool frmCLTPrintLabels::selectedOnly() const { return m_ui->optSelectedRows->isChecked(); }
LabelSheet frmCLTPrintLabels::sheet() const { return static_cast<LabelSheet>(m_ui->cmboSheet->currentData().toInt()); }

void frmCLTPrintLabels::cmdPrint_Click()
{
    RememberValue(kSheetKey, m_ui->cmboSheet->currentIndex());
    RememberValue(kPerUnitKey, perUnit());
    accept();
}

void frmCLTPrintLabels::PrintLabels(QWidget* parent, const RecordSet& parts, const std::vector<int>& selected,
                                    const std::string& fileTitle, Connection& configuration)
{
    frmCLTPrintLabels choice(parent, static_cast<int>(selected.size()));
    if (choice.exec() != QDialog::Accepted)
        return;
    std::vector<PartLabel> labels;
    {
        WaitCursor hourglass;
        labels = CollectPartLabels(parts, choice.selectedOnly() ? selected : std::vector<int>{}, choice.perUnit(),
                                   fileTitle, ReadProcessByPart(configuration));
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Part Labels - ") + QString::fromStdString(fileTitle));
    PrepareLabelPrinter(printer, choice.sheet());
    if (!RunPrintDialog(printer, parent))
        return;
    // A PDF has no paper of its own: it gets the sheet's (the dialog may have put its default
    // paper back). A printer keeps the paper chosen on the dialog.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        PrepareLabelPrinter(printer, choice.sheet());
    std::optional<WaitCursor> hourglass(std::in_place);
    if (!PrintPartLabels(printer, choice.sheet(), labels)) {
        hourglass.reset();
        ShowMessage("The labels could not be printed: the printer or the file chosen could not be opened.",
                    vbOKOnly | vbExclamation, "");
    }
}

} // namespace vx
