#include "screens/frmCLTErrorLog.h"

#include "base/ErrorLog.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTErrorLog.h"

namespace vx {

frmCLTErrorLog::frmCLTErrorLog(QWidget* parent) : QWidget(parent, Qt::Window), m_ui(new Ui::frmCLTErrorLog)
{
    m_ui->setupUi(this);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &frmCLTErrorLog::cmdClose_Click);
}

frmCLTErrorLog::~frmCLTErrorLog()
{
    if (m_installed) {
        TheErrorLog().SetViewer({});
        TheErrorLog().SetHider({});
    }
}

void frmCLTErrorLog::InstallAsViewer()
{
    TheErrorLog().SetViewer([this](const std::string&) { Display(); });
    TheErrorLog().SetHider([this] { hide(); });
    m_installed = true;
}

void frmCLTErrorLog::Display()
{
    // The writers separate entries with CR LF; the text box wants plain line feeds.
    QString text = QString::fromStdString(TheErrorLog().Text());
    const std::string& summary = TheErrorLog().Summary();
    if (!summary.empty())
        text = QString::fromStdString(summary) + (text.startsWith(u'\n') ? QString() : QStringLiteral("\n")) + text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_ui->Text1->setPlainText(text);
    if (!isVisible())
        CentreOnDesktop(this);
    show();
    raise();
    activateWindow();
}

QString frmCLTErrorLog::LogText() const { return m_ui->Text1->toPlainText(); }

void frmCLTErrorLog::cmdClose_Click() { hide(); }

} // namespace vx
