#pragma once
// The folder picker of the processes screen: a list of the mounted drives and the folders
// of the chosen drive.
#include <QWidget>

#include <memory>

class QFileSystemModel;

namespace Ui {
class frmCLTYieldReportPath;
}

namespace vx {

class frmCLTProcesses;

class frmCLTYieldReportPath : public QWidget {
    Q_OBJECT
public:
    explicit frmCLTYieldReportPath(frmCLTProcesses* processes);
    ~frmCLTYieldReportPath() override;

    // target 1: the new-process folder box; 2: the edit folder box.
    void Display(int target);
    // The folder currently chosen in the folder list.
    QString CurrentPath() const;
    // Chooses a folder in the list (its drive is selected with it).
    void SelectFolder(const QString& path);

public slots:
    void cmdSavePath_Click();
    void cmdDone_Click();
    void Drive1_Change();
    void Dir1_Change();

private:
    void LoadDrives();

    std::unique_ptr<Ui::frmCLTYieldReportPath> m_ui;
    frmCLTProcesses* m_processes;
    QFileSystemModel* m_folders;
    int m_target = 1;
    QString m_currentPath;
};

} // namespace vx
