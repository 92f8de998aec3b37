#include "screens/frmCLTMain.h"

#include "base/ErrorLog.h"
#include "config/frmCLTSetup.h"
#include "convert/frmCLTProcessPartsFile.h"
#include "mapping/SavedMappingCheck.h"
#include "mapping/frmCLTPartsListMapping.h"
#include "mapping/frmCLTPrintMapping.h"
#include "parts/frmCLTManualPartsEntry.h"
#include "parts/frmCLTViewEditROPartsFile.h"
#include "screens/WindowedProgram.h"
#include "screens/frmCLTCombineFiles.h"
#include "screens/frmCLTPartsCriteriaDelete.h"
#include "screens/frmCLTProcesses.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTMain.h"

#include <QApplication>
#include <QCloseEvent>

namespace vx {

frmCLTMain::frmCLTMain(QWidget* parent) : ScreenWindow(parent), m_ui(new Ui::frmCLTMain)
{
    m_ui->setupUi(this);
    // The main menu lives for the whole program; ShutdownProgram unloads it explicitly.
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The program ends with its main menu, never on its own: Qt's rule of quitting when the
    // last window closes does not count windows that belong to another window, so a message
    // box closing over a dialog whose screen is hidden would end the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    connect(qApp, &QGuiApplication::lastWindowClosed, this, &frmCLTMain::ShowWhenNothingIsOpen, Qt::QueuedConnection);
    connect(m_ui->cmdSetup, &QPushButton::clicked, this, &frmCLTMain::cmdSetup_Click);
    connect(m_ui->cmdDefinePartsFile, &QPushButton::clicked, this, &frmCLTMain::cmdDefinePartsFile_Click);
    connect(m_ui->cmdPrintMapping, &QPushButton::clicked, this, &frmCLTMain::cmdPrintMapping_Click);
    connect(m_ui->cmdProcessPartsFile, &QPushButton::clicked, this, &frmCLTMain::cmdProcessPartsFile_Click);
    connect(m_ui->cmdViewEditROPartsFile, &QPushButton::clicked, this, &frmCLTMain::cmdViewEditROPartsFile_Click);
    connect(m_ui->cmdCombinePartsFiles, &QPushButton::clicked, this, &frmCLTMain::cmdCombinePartsFiles_Click);
    connect(m_ui->cmdProcesses, &QPushButton::clicked, this, &frmCLTMain::cmdProcesses_Click);
    connect(m_ui->cmdDeleteParts, &QPushButton::clicked, this, &frmCLTMain::cmdDeleteParts_Click);
    connect(m_ui->cmdManualPartsList, &QPushButton::clicked, this, &frmCLTMain::cmdManualPartsList_Click);
    connect(m_ui->cmdExit, &QPushButton::clicked, this, &frmCLTMain::cmdExit_Click);
}

frmCLTMain::~frmCLTMain() = default;

frmCLTSetup* frmCLTMain::setupScreen() const { return m_setup; }
frmCLTProcessPartsFile* frmCLTMain::convertScreen() const { return m_convert; }
frmCLTProcesses* frmCLTMain::processesScreen() const { return m_processes; }
frmCLTPartsCriteriaDelete* frmCLTMain::removalScreen() const { return m_removal; }
frmCLTPartsListMapping* frmCLTMain::mappingScreen() const { return m_mapping; }
frmCLTPrintMapping* frmCLTMain::printMappingScreen() const { return m_printMapping; }
frmCLTViewEditROPartsFile* frmCLTMain::viewEditScreen() const { return m_viewEdit; }
frmCLTCombineFiles* frmCLTMain::combineScreen() const { return m_combine; }
frmCLTManualPartsEntry* frmCLTMain::manualEntryScreen() const { return m_manualEntry; }

void frmCLTMain::Display()
{
    adjustSize();
    CentreOnDesktop(this);
    show();
}

void frmCLTMain::cmdSetup_Click()
{
    if (!m_setup)
        m_setup = new frmCLTSetup(this);
    m_setup->Display();
}

void frmCLTMain::cmdDefinePartsFile_Click()
{
    if (!m_mapping)
        m_mapping = new frmCLTPartsListMapping(this);
    m_mapping->Display();
    hide();
}

void frmCLTMain::cmdPrintMapping_Click()
{
    if (!m_printMapping)
        m_printMapping = new frmCLTPrintMapping(this);
    m_printMapping->Display();
    hide();
}

void frmCLTMain::cmdProcessPartsFile_Click()
{
    bool isError = false;
    CheckForValidMapping(isError);
    if (isError) {
        TheErrorLog().Display();
        return;
    }
    if (!m_convert)
        m_convert = new frmCLTProcessPartsFile(this);
    m_convert->Display(true);
    hide();
}

void frmCLTMain::cmdViewEditROPartsFile_Click()
{
    if (!m_viewEdit)
        m_viewEdit = new frmCLTViewEditROPartsFile(this);
    m_viewEdit->Display();
    hide();
}

void frmCLTMain::cmdCombinePartsFiles_Click()
{
    if (!m_combine)
        m_combine = new frmCLTCombineFiles(this);
    m_combine->Display();
    hide();
}

void frmCLTMain::cmdProcesses_Click()
{
    if (!m_processes)
        m_processes = new frmCLTProcesses(this);
    m_processes->Display();
    hide();
}

void frmCLTMain::cmdDeleteParts_Click()
{
    if (!m_removal)
        m_removal = new frmCLTPartsCriteriaDelete(this);
    m_removal->Display();
}

void frmCLTMain::cmdManualPartsList_Click()
{
    if (!m_manualEntry)
        m_manualEntry = new frmCLTManualPartsEntry(this);
    m_manualEntry->Display();
    hide();
}

void frmCLTMain::cmdExit_Click() { ShutdownProgram(); }

void frmCLTMain::QueryUnloadByControlMenu() { ShutdownProgram(); }

void frmCLTMain::closeEvent(QCloseEvent* event)
{
    ScreenWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    m_closed = true;
    QCoreApplication::quit();
}

void frmCLTMain::ShowWhenNothingIsOpen()
{
    // A program without any visible window could only be ended from outside.
    if (m_closed)
        return;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            return;
    show();
}

} // namespace vx
