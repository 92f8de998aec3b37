// Processes and removal: the add and edit rules (letter case, apostrophes), the folder
// picker, and deleting part criteria, materials and processes.
#include "ScreenTestTools.h"
#include "TestSupport.h"
#include "screens/frmCLTPartsCriteriaDelete.h"
#include "screens/frmCLTProcesses.h"
#include "screens/frmCLTYieldReportPath.h"
#include "ui/BoundGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vx;
using vxtest::Child;
using vxtest::Click;
using vxtest::QueryColumn;

namespace {
// A screen shown on a fresh runtime folder (after the SQL, if any); it stays when closed.
template <class Screen> struct ShownScreen {
    vxtest::RuntimeSandbox box;
    vxtest::ScriptedPresenter presenter;
    Screen screen{nullptr};
    explicit ShownScreen(const std::string& sql = "")
    {
        if (!sql.empty())
            box.execDef(sql);
        screen.setAttribute(Qt::WA_DeleteOnClose, false);
        screen.Display();
    }
};
} // namespace

class tst_frmCLTProcesses : public QObject {
    Q_OBJECT

    static void Type(QWidget* w, const char* name, const char* text) { Child<QLineEdit>(w, name)->setText(text); }
    static std::vector<std::string> Processes(const vxtest::RuntimeSandbox& box)
    {
        return QueryColumn(
            box.defDatabase(),
            "SELECT Description || '/' || FileID || '/' || SaveFileTo FROM tblProcesses ORDER BY AutoID");
    }

private slots:
    // Each row types {description, file id, path}; an empty message means the process is added.
    void addProcess_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("added, trimmed") << QStringList{"  Edge Banding ", " EB ", " /tmp "} << "";
        QTest::newRow("apostrophes work") << QStringList{"O'Brien's Doors", "O'B", "/tmp/o'b"} << "";
        QTest::newRow("no description") << QStringList{"  ", "X", "/tmp"} << "You need to enter a Description.";
        QTest::newRow("description differs only in case")
            << QStringList{"cabinet PARTS", "X", "/tmp"}
            << "This Description already exists. Descriptions must be unique.";
        QTest::newRow("no file id") << QStringList{"New", "", "/tmp"} << "You need to enter a FileID.";
        QTest::newRow("file id in other case")
            << QStringList{"New", "cab", "/tmp"} << "This FileID already exists. FileIDs must be unique.";
        QTest::newRow("no path") << QStringList{"New", "NEW", " "}
                                 << "You need to enter or select a Path for SaveFileTo.";
    }
    void addProcess()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        ShownScreen<frmCLTProcesses> f;
        QCOMPARE(f.screen.grid()->Rows(), 3);
        f.screen.grid()->SelectRow(1);
        QCOMPARE(Child<QLineEdit>(&f.screen, "txtEditDescription")->text(), QString("Cabinet Parts"));

        Type(&f.screen, "txtDescription", typed[0].toUtf8());
        Type(&f.screen, "txtFileID", typed[1].toUtf8());
        Type(&f.screen, "txtFilePath", typed[2].toUtf8());
        Click(&f.screen, "cmdAddProcess");
        // Adding always forgets the selected process.
        QCOMPARE(f.screen.selectedRow(), 0);
        QVERIFY(Child<QLineEdit>(&f.screen, "txtEditDescription")->text().isEmpty());
        if (message.isEmpty()) {
            QVERIFY(f.presenter.prompts.empty());
            QCOMPARE(QString::fromStdString(Processes(f.box).back()),
                     typed[0].trimmed() + "/" + typed[1].trimmed() + "/" + typed[2].trimmed());
            QCOMPARE(f.screen.grid()->Rows(), 4);
            QVERIFY(Child<QLineEdit>(&f.screen, "txtDescription")->text().isEmpty());
        } else {
            QCOMPARE(f.presenter.prompts.size(), size_t(1));
            QCOMPARE(QString::fromStdString(f.presenter.prompts[0].text), message);
            QCOMPARE(Processes(f.box).size(), size_t(2));
            QCOMPARE(Child<QLineEdit>(&f.screen, "txtDescription")->text(), typed[0]);
        }
    }

    // Row 2 in Description order is "Solid Wood" (SOLID, "/out"); each row types {description,
    // file id, path}. An empty stored value means the process is unchanged.
    void saveChanges_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        QTest::newRow("saved") << QStringList{"Solid Wood's", "SW'1", "/out"} << "The Changes have been Saved."
                               << "Solid Wood's/SW'1//out";
        QTest::newRow("only case changed")
            << QStringList{"SOLID WOOD", "solid", "/OUT"}
            << "The edited values are the same as the current values. No changes have been made."
            << "";
        QTest::newRow("other's description")
            << QStringList{"cabinet parts", "X", "/out"}
            << "The Description matches an existing description. Descriptions must be unique."
            << "";
        QTest::newRow("other's file id") << QStringList{"Solid", "Cab", "/out"}
                                         << "The FileID matches an existing fileid. FileIDs must be unique."
                                         << "";
        QTest::newRow("empty description") << QStringList{" ", "X", "/out"} << "You must have a Description."
                                           << "";
        QTest::newRow("empty file id") << QStringList{"S", "", "/out"} << "You must have a FileID."
                                       << "";
        QTest::newRow("empty path") << QStringList{"S", "S", ""} << "You need to enter or select a Path for SaveFileTo."
                                    << "";
    }
    void saveChanges()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        ShownScreen<frmCLTProcesses> f("UPDATE tblProcesses SET SaveFileTo = '/out' WHERE AutoID = 2");
        f.screen.grid()->SelectRow(2);
        QCOMPARE(f.screen.selectedAutoID(), 2);
        Type(&f.screen, "txtEditDescription", typed[0].toUtf8());
        Type(&f.screen, "txtEidtFileID", typed[1].toUtf8());
        Type(&f.screen, "txtEditFilePath", typed[2].toUtf8());
        Click(&f.screen, "cmdSaveProcessChanges");
        QCOMPARE(f.presenter.prompts.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f.presenter.prompts[0].text), message);
        QCOMPARE(QString::fromStdString(Processes(f.box)[1]),
                 stored.isEmpty() ? QString("Solid Wood/SOLID//out") : stored);
        if (!stored.isEmpty())
            QCOMPARE(f.screen.grid()->TextMatrix(2, 2), typed[0]);
    }

    void saveWithoutSelectionDoesNothing()
    {
        ShownScreen<frmCLTProcesses> f;
        Type(&f.screen, "txtEditDescription", "Anything");
        Click(&f.screen, "cmdSaveProcessChanges");
        QVERIFY(f.presenter.prompts.empty());
    }

    void folderPickerWritesTheChosenTarget()
    {
        ShownScreen<frmCLTProcesses> f;
        Click(&f.screen, "cmdEditPathSelect");
        frmCLTYieldReportPath* picker = f.screen.pathPicker();
        QVERIFY(picker && picker->isVisible());
        QVERIFY(Child<QComboBox>(picker, "Drive1")->count() >= 1);
        std::string folder = f.box.runtimeFolder();
        picker->SelectFolder(QString::fromStdString(folder));
        QCOMPARE(Child<QLabel>(picker, "lblNewPath")->text().toStdString(), folder);
        Click(picker, "cmdSavePath");
        QVERIFY(!picker->isVisible());
        QCOMPARE(Child<QLineEdit>(&f.screen, "txtEditFilePath")->text().toStdString(), folder);
        QVERIFY(Child<QLineEdit>(&f.screen, "txtFilePath")->text().isEmpty());
        Click(&f.screen, "cmdPathSelect");
        Click(picker, "cmdDone"); // Cancel writes nothing
        QVERIFY(Child<QLineEdit>(&f.screen, "txtFilePath")->text().isEmpty());
    }

    void removalDeletesSelectedRowsWithoutAsking()
    {
        vxtest::RuntimeSandbox box;
        vxtest::ScriptedPresenter presenter;
        box.execDef("INSERT INTO tblMaterials (Material) VALUES ('O''AK')");
        QWidget menu;
        menu.show();
        frmCLTPartsCriteriaDelete screen(&menu);
        screen.setAttribute(Qt::WA_DeleteOnClose, false);
        screen.Display();
        BoundGrid* parts = screen.partsCriteriaGrid();
        for (int c = 1; c < parts->Cols(); ++c)
            QCOMPARE(parts->ColHidden(c), c != 2);
        int before = parts->Rows() - 1;
        std::vector<std::string> doomed = {parts->TextMatrix(1, 2).toStdString(), parts->TextMatrix(2, 2).toStdString(),
                                           parts->TextMatrix(4, 2).toStdString()};
        parts->SelectRow(1);
        parts->SelectRow(2, true);
        parts->SelectRow(4, true);
        Click(&screen, "cmdDelete1");
        QCOMPARE(parts->Rows() - 1, before - 3);
        auto remaining = QueryColumn(box.defDatabase(), "SELECT Part FROM tblPartsCriteria");
        for (const std::string& name : doomed)
            QVERIFY(std::find(remaining.begin(), remaining.end(), name) == remaining.end());

        BoundGrid* materials = screen.materialsGrid();
        int oak = -1;
        for (int r = 1; r < materials->Rows(); ++r)
            if (materials->TextMatrix(r, 2) == "O'AK")
                oak = r;
        materials->SelectRow(oak);
        Click(&screen, "cmdDelete2");
        QCOMPARE(vxtest::QueryScalar(box.defDatabase(), "SELECT count(*) FROM tblMaterials WHERE Material = 'O''AK'"),
                 "0");
        QVERIFY(presenter.prompts.empty());
        QVERIFY(menu.isVisible());
    }

    void firstProcessIsNeverDeleted()
    {
        ShownScreen<frmCLTPartsCriteriaDelete> f(
            "INSERT INTO tblProcesses (Description, FileID, SaveFileTo) VALUES ('Paint', 'P', '')");
        BoundGrid* processes = f.screen.processesGrid();
        processes->SelectRow(1);
        processes->SelectRow(3, true);
        Click(&f.screen, "cmdDelete3");
        QCOMPARE(QueryColumn(f.box.defDatabase(), "SELECT AutoID FROM tblProcesses ORDER BY AutoID").size(), size_t(3));
        processes->SelectRow(2);
        processes->SelectRow(3, true);
        Click(&f.screen, "cmdDelete3");
        QCOMPARE(QueryColumn(f.box.defDatabase(), "SELECT Description FROM tblProcesses"),
                 std::vector<std::string>({"Cabinet Parts"}));
        QCOMPARE(processes->Rows(), 2);
    }
};

QTEST_MAIN(tst_frmCLTProcesses)
#include "tst_frmCLTProcesses.moc"
