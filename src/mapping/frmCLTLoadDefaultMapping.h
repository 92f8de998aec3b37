#pragma once
// The default mapping dialog of the mapping screen: lists the file types that have a
// ready-made mapping and loads the chosen one into the mapping screen.
#include "config/TableStore.h"
#include "ui/ScreenWindow.h"

#include <memory>

namespace Ui {
class frmCLTLoadDefaultMapping;
}

namespace vx {

class BoundGrid;
class frmCLTPartsListMapping;

class frmCLTLoadDefaultMapping : public ScreenWindow {
    Q_OBJECT
public:
    // mainMenu is the window the dialog is centred over (the mapping screen when null).
    frmCLTLoadDefaultMapping(frmCLTPartsListMapping* mappingScreen, QWidget* mainMenu);
    ~frmCLTLoadDefaultMapping() override;

    void Display();
    void GetDefaultMappings();
    void SizeGridColumns();
    // The first selected grid row (1-based), 0 when none is selected.
    void GetSelectedRowNum(int& rowNum) const;
    void Shutdown();

    BoundGrid* grid() const;

public slots:
    void cmdLoadMapping_Click();
    void cmdCancel_Click();

private:
    std::unique_ptr<Ui::frmCLTLoadDefaultMapping> m_ui;
    frmCLTPartsListMapping* m_mappingScreen;
    QWidget* m_mainMenu;
    RecordSet m_rs;
};

} // namespace vx
