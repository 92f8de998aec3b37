#pragma once
// The mapping screen on a fresh runtime folder, for the screen's tests.
#include "../screens/ScreenTestTools.h"

#include "mapping/frmCLTPartsListMapping.h"

namespace maptest {

using namespace vx;
using vxtest::Child;
using vxtest::Click;
using vxtest::QueryScalar;

// The mapping screen on a fresh runtime folder, no lines skipped.
struct MappingScreenFixture : vxtest::ScreenFixture<frmCLTPartsListMapping> {
    MappingScreenFixture() { Child<QComboBox>(screen, "cmboSkipXLines")->setEditText("0"); }
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
};

} // namespace maptest
