#pragma once
// The configuration screen: machine type and accessories.
#include "ui/ScreenWindow.h"

#include <array>
#include <memory>

class QCheckBox;
class QRadioButton;

namespace Ui {
class frmCLTSetup;
}

namespace vx {

class frmCLTSetup : public ScreenWindow {
    Q_OBJECT
public:
    // mainMenu is shown again when the screen closes.
    explicit frmCLTSetup(QWidget* mainMenu);
    ~frmCLTSetup() override;

    void Display();
    void GetSettings();
    void UpdateSettings();
    void Shutdown();

private slots:
    void cmdUpdate_Click();
    void cmdCancel_Click();

protected:
    void QueryUnloadByControlMenu() override;

private:
    void ShowMainMenu();

    std::unique_ptr<Ui::frmCLTSetup> m_ui;
    QWidget* m_mainMenu;
    std::array<QRadioButton*, 3> m_optMachineType{};
    std::array<QCheckBox*, 3> m_chkAccessory{};
};

} // namespace vx
