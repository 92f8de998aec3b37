#include "convert/frmCLTBaseFileName.h"

#include "base/Messages.h"
#include "ui_frmCLTBaseFileName.h"

namespace vx {

frmCLTBaseFileName::frmCLTBaseFileName(QWidget* parent) : QDialog(parent), m_ui(new Ui::frmCLTBaseFileName)
{
    m_ui->setupUi(this);
    setModal(true);
    resize(width(), sizeHint().height());
    connect(m_ui->cmdCreateFiles, &QPushButton::clicked, this, &frmCLTBaseFileName::cmdCreateFiles_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &frmCLTBaseFileName::cmdCancel_Click);
}

frmCLTBaseFileName::~frmCLTBaseFileName() = default;

QString frmCLTBaseFileName::StartFileName() const { return m_ui->txtBaseFileName->text(); }
void frmCLTBaseFileName::SetStartFileName(const QString& name) { m_ui->txtBaseFileName->setText(name); }

void frmCLTBaseFileName::cmdCreateFiles_Click()
{
    if (StartFileName().trimmed().isEmpty()) {
        ShowMessage("You must enter a Base File Name.", vbOKOnly, "");
        return;
    }
    accept();
}

void frmCLTBaseFileName::cmdCancel_Click() { reject(); }

} // namespace vx
