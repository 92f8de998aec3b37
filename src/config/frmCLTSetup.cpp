#include "config/frmCLTSetup.h"

#include "base/ProgramState.h"
#include "config/modCLTSettings.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTSetup.h"

#include <QButtonGroup>
#include <QPointer>

namespace vx {

frmCLTSetup::frmCLTSetup(QWidget* mainMenu) : m_ui(new Ui::frmCLTSetup), m_mainMenu(mainMenu)
{
    m_ui->setupUi(this);
    m_optMachineType = {m_ui->optMachineType_0, m_ui->optMachineType_1, m_ui->optMachineType_2};
    m_chkAccessory = {m_ui->chkAccessory_0, m_ui->chkAccessory_1, m_ui->chkAccessory_2};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i)
        group->addButton(m_optMachineType[static_cast<size_t>(i)], i);
    connect(m_ui->cmdUpdate, &QPushButton::clicked, this, &frmCLTSetup::cmdUpdate_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &frmCLTSetup::cmdCancel_Click);
}

frmCLTSetup::~frmCLTSetup() = default;

void frmCLTSetup::Display()
{
    adjustSize();
    CentreOnDesktop(this);
    GetSettings();
    show();
    if (m_mainMenu)
        m_mainMenu->hide();
}

void frmCLTSetup::GetSettings()
{
    Guarded([&] {
        const ProgramState& s = State();
        for (size_t i = 0; i < m_optMachineType.size(); ++i)
            m_optMachineType[i]->setChecked(static_cast<int>(i) == s.MachineType);
        for (QCheckBox* box : m_chkAccessory)
            box->setChecked(false);
        m_chkAccessory[0]->setChecked(s.Scribes);
        m_chkAccessory[1]->setChecked(s.SpaceBalls);
        m_chkAccessory[2]->setChecked(s.PocketHoles);
    });
}

void frmCLTSetup::UpdateSettings()
{
    ProgramState& s = State();
    s.MachineType = 2;
    for (size_t i = 0; i < m_optMachineType.size(); ++i)
        if (m_optMachineType[i]->isChecked())
            s.MachineType = static_cast<int>(i);
    s.Scribes = m_chkAccessory[0]->isChecked();
    s.SpaceBalls = m_chkAccessory[1]->isChecked();
    s.PocketHoles = m_chkAccessory[2]->isChecked();
}

void frmCLTSetup::cmdUpdate_Click()
{
    Guarded([&] {
        UpdateSettings();
        SaveMachineSettings();
        SetMachineFlags();
        Shutdown();
    });
}

void frmCLTSetup::cmdCancel_Click() { Shutdown(); }

void frmCLTSetup::ShowMainMenu()
{
    if (m_mainMenu)
        m_mainMenu->show();
}

void frmCLTSetup::Shutdown()
{
    ShowMainMenu();
    Unload();
}

void frmCLTSetup::QueryUnloadByControlMenu() { Shutdown(); }

} // namespace vx
