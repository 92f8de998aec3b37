#pragma once
// Lists the process files a run wrote: process, file name and folder.
#include "config/TableStore.h"

#include <QWidget>

#include <memory>

namespace Ui {
class frmCLTProcessFilesCreated;
}

namespace vx {

class BoundGrid;

class frmCLTProcessFilesCreated : public QWidget {
    Q_OBJECT
public:
    explicit frmCLTProcessFilesCreated(QWidget* parent = nullptr);
    ~frmCLTProcessFilesCreated() override;

    void ClearGrid();
    void AddGridRow(const QString& Process, const QString& FileName, const QString& Folder);
    // Shows the list in front of the other windows, its columns sized to the contents.
    void Display();
    BoundGrid* grid() const;

public slots:
    void cmdOK_Click();

private:
    std::unique_ptr<Ui::frmCLTProcessFilesCreated> m_ui;
    RecordSet m_rows;
};

} // namespace vx
