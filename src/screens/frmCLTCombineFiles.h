#pragma once
// The combine screen: a list of parts files, appended in list order into one new parts file.
#include "screens/FilesToCombine.h"
#include "ui/ProgressDialog.h"
#include "ui/ScreenWindow.h"

#include <QStringList>

#include <memory>

namespace Ui {
class frmCLTCombineFiles;
}

namespace vx {

class BoundGrid;

class frmCLTCombineFiles : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTCombineFiles(QWidget* mainMenu);
    ~frmCLTCombineFiles() override;

    // ClearFileList, centre and show.
    void Display();
    void ClearFileList();
    // Adds chosen or dropped files as "ADD FILE(S)" does, with the same refusals.
    void AddFiles(const QStringList& paths);
    // Takes the selected rows out of the list (the "REMOVE FILE" button and the Delete key).
    void RemoveSelectedFiles();
    void Shutdown();

    BoundGrid* grid() const;
    FilesToCombine& files() { return m_files; }

public slots:
    void cmdSelectFiles_Click();
    void cmdClearTheList_Click();
    void cmdCombineTheFiles_Click();
    void cmdDone_Click();

protected:
    void QueryUnloadByControlMenu() override;

private:
    void ShowList();

    std::unique_ptr<Ui::frmCLTCombineFiles> m_ui;
    QWidget* m_mainMenu;
    FilesToCombine m_files;
    ProgressDialog m_progress;
};

} // namespace vx
