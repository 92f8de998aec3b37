#pragma once
// The convert screen: open a delimited parts file, look at the parts and their criteria,
// adjust criteria, skip count and length conversion, check scribes and space balls, and
// write one Veltrax parts file or one file per process. The conversion itself is the
// session's; this class maps the controls onto it.
#include "convert/ConversionSession.h"
#include "ui/ProgressDialog.h"
#include "ui/ScreenWindow.h"

#include <QPointer>

#include <memory>

class QButtonGroup;
class QLineEdit;

namespace Ui {
class frmCLTProcessPartsFile;
}

namespace vx {

class BoundGrid;
class frmCLTProcessFilesCreated;

class frmCLTProcessPartsFile : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTProcessPartsFile(QWidget* mainMenu);
    ~frmCLTProcessPartsFile() override;

    // Prepares the screen and its session; shows it only when vis is true.
    void Display(bool vis);
    // Closing: saves the screen's settings, releases the session, shows the main menu.
    void Shutdown();
    // As Shutdown, without taking over the ask-if-valid box.
    void AutoShutdown();
    // Releases grids and session only; saves nothing.
    void CommandLineShutdown();
    void SizeForm();

    void DisplayRSInGrid();
    void DisplayPartsCriteria();
    void SetProcessDropDown();
    void DoCreateFilesForProcesses(const std::string& BaseFileName);

    ConversionSession& session() { return m_session; }
    BoundGrid* partsGrid() const;
    BoundGrid* criteriaGrid() const;
    frmCLTProcessFilesCreated* filesCreatedScreen() const;
    const std::string& processDropDown() const { return m_processDropDown; }

    // Grid columns of LENGTH, SCRIBES and SPACEBALLS (0 when absent).
    int LengthCol = 0;
    int ScribesCol = 0;
    int SpaceBallsCol = 0;

public slots:
    void cmdOpenPartsFile_Click();
    // Opens a dropped file as if chosen in the dialog; with no path, asks with the dialog.
    void OpenPartsFile(const QString& dropped);
    void cmdApplyCriteria_Click();
    void cmdCheckScribes_Click();
    void cmdCheckSpaceBalls_Click();
    void cmdCreateROPartsFile_Click();
    void cmdCreateProcessFiles_Click();
    void cmdDone_Click();
    // A length-conversion option was clicked: offers to read the open file again with it.
    void LengthConversionChosen();

protected:
    void QueryUnloadByControlMenu() override;

private:
    void LoadSkipXLinesCombo();
    void SetSkipFirstXLines();
    void GetExtraSpaceBalls();
    void ShowAccessoryControls();
    void CopyControlsToSession();
    int SelectedLengthConversion() const;
    void UnbindGrids();
    void SaveAndRelease(bool takeAskIfValid);

    std::unique_ptr<Ui::frmCLTProcessPartsFile> m_ui;
    QWidget* m_mainMenu;
    ConversionSession m_session;
    ProgressDialog m_progress;
    QButtonGroup* m_optLengthConversion;
    std::string m_processDropDown;
    QPointer<frmCLTProcessFilesCreated> m_filesCreated;
    bool m_released = true;
    int32_t m_storedAskIfValid = 0; // AskIfValid as stored when the screen was prepared
};

} // namespace vx
