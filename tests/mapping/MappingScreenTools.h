#pragma once
// The mapping screen on a fresh runtime folder, for the screen's tests.
#include "../screens/ScreenTestTools.h"
#include "TestSupport.h"

#include "config/modCLTSettings.h"
#include "mapping/frmCLTPartsListMapping.h"
#include "ui/BoundGrid.h"

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace maptest {

using namespace vx;
using vxtest::Child;
using vxtest::Click;
using vxtest::QueryScalar;

// One screen on a fresh runtime folder with scripted messages and file dialogs.
struct MappingScreenFixture {
    vxtest::RuntimeSandbox box;
    vxtest::ScriptedPresenter presenter;
    vxtest::ScriptedFileDialogs dialogs;
    QWidget menu;
    QPointer<frmCLTPartsListMapping> screen = new frmCLTPartsListMapping(&menu);

    MappingScreenFixture()
    {
        vxtest::UseSettingsFolder(box.file("settings"));
        LoadSettings();
        screen->Display();
        Child<QComboBox>(screen, "cmboSkipXLines")->setEditText("0");
    }
    ~MappingScreenFixture()
    {
        delete screen;
        vxtest::Settle();
    }
    // Opens a file with these bytes through the open button.
    std::string open(const std::string& bytes, const std::string& name = "example.csv")
    {
        std::string path = box.writeFile(name, bytes);
        dialogs.answer(path);
        Click(screen, "cmdOpenFile");
        return path;
    }
    QStringList mappingRow() const
    {
        QStringList row;
        for (int c = 1; c <= screen->example().ColumnCount; ++c)
            row << screen->ExampleCell(1, c);
        return row;
    }
    // Picks a choice in a mapping-row cell as the drop-down does.
    void choose(int column, const QString& choice)
    {
        BoundGridModel* model = screen->mappingGrid()->gridModel();
        QVERIFY(model->flags(model->index(0, column)) & Qt::ItemIsEditable);
        QVERIFY(model->setData(model->index(0, column), choice, Qt::EditRole));
    }
    // Types a display label for the field with this IDNum.
    void typeLabel(int idNum, const QString& text)
    {
        BoundGridModel* model = screen->labelGrid()->gridModel();
        QVERIFY(model->setData(model->index(idNum - 1, 2), text, Qt::EditRole));
    }
    QString labelCell(int idNum) const { return screen->labelGrid()->TextMatrix(idNum, 3); }
    bool enabled(const char* name) const { return Child<QPushButton>(screen, name)->isEnabled(); }
    std::string def(const std::string& sql) const { return QueryScalar(box.defDatabase(), sql); }
    std::string setting(const std::string& name) const
    {
        return def("SELECT SettingValue FROM tblSettings WHERE SettingName = '" + name + "'");
    }
};

} // namespace maptest
