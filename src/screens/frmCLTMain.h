#pragma once
// The main menu: one button per task in four frames; opens the task screens and ends the
// program.
#include "ui/ScreenWindow.h"

#include <QPointer>

#include <memory>

namespace Ui {
class frmCLTMain;
}

namespace vx {

class frmCLTSetup;
class frmCLTProcessPartsFile;
class frmCLTProcesses;
class frmCLTPartsCriteriaDelete;
class frmCLTPartsListMapping;
class frmCLTPrintMapping;
class frmCLTViewEditROPartsFile;
class frmCLTCombineFiles;
class frmCLTManualPartsEntry;

class frmCLTMain : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTMain(QWidget* parent = nullptr);
    ~frmCLTMain() override;

    // Centres the window on the desktop and shows it.
    void Display();

    // The task screens currently loaded (null when not).
    frmCLTSetup* setupScreen() const;
    frmCLTProcessPartsFile* convertScreen() const;
    frmCLTProcesses* processesScreen() const;
    frmCLTPartsCriteriaDelete* removalScreen() const;
    frmCLTPartsListMapping* mappingScreen() const;
    frmCLTPrintMapping* printMappingScreen() const;
    frmCLTViewEditROPartsFile* viewEditScreen() const;
    frmCLTCombineFiles* combineScreen() const;
    frmCLTManualPartsEntry* manualEntryScreen() const;

private slots:
    void cmdSetup_Click();
    void cmdDefinePartsFile_Click();
    void cmdPrintMapping_Click();
    void cmdProcessPartsFile_Click();
    void cmdViewEditROPartsFile_Click();
    void cmdCombinePartsFiles_Click();
    void cmdProcesses_Click();
    void cmdDeleteParts_Click();
    void cmdManualPartsList_Click();
    void cmdExit_Click();

protected:
    void QueryUnloadByControlMenu() override;
    // Closing the main menu, for whatever reason, ends the program.
    void closeEvent(QCloseEvent* event) override;

private:
    // Brings the main menu back when the last visible window has closed without it.
    void ShowWhenNothingIsOpen();

    bool m_closed = false;
    std::unique_ptr<Ui::frmCLTMain> m_ui;
    QPointer<frmCLTSetup> m_setup;
    QPointer<frmCLTProcessPartsFile> m_convert;
    QPointer<frmCLTProcesses> m_processes;
    QPointer<frmCLTPartsCriteriaDelete> m_removal;
    QPointer<frmCLTPartsListMapping> m_mapping;
    QPointer<frmCLTPrintMapping> m_printMapping;
    QPointer<frmCLTViewEditROPartsFile> m_viewEdit;
    QPointer<frmCLTCombineFiles> m_combine;
    QPointer<frmCLTManualPartsEntry> m_manualEntry;
};

} // namespace vx
