#pragma once
// The print mapping screen: shows the saved column mapping as a table and prints it on the
// default printer (through the print dialog), so the operator can label the machine's fields.
#include "config/TableStore.h"
#include "ui/ScreenWindow.h"

#include <memory>

class QPrinter;

namespace Ui {
class frmCLTPrintMapping;
}

namespace vx {

class BoundGrid;

class frmCLTPrintMapping : public ScreenWindow {
    Q_OBJECT
public:
    explicit frmCLTPrintMapping(QWidget* mainMenu);
    ~frmCLTPrintMapping() override;

    void Display();
    void LoadTheGrid();
    void Shutdown();
    // Prints the grid as shown, with a title, on the printer; one or more pages.
    void PrintGrid(QPrinter& printer);

    BoundGrid* grid() const;

public slots:
    void cmdPrint_Click();
    void cmdDone_Click();

protected:
    void QueryUnloadByControlMenu() override;

private:
    std::unique_ptr<Ui::frmCLTPrintMapping> m_ui;
    QWidget* m_mainMenu;
    RecordSet m_rs;
    bool m_released = true;
};

} // namespace vx
