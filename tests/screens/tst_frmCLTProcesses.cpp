// Processes and removal: the add and edit rules (letter case, apostrophes), the folder
// picker, and deleting part criteria, materials and processes.
#include "ScreenTestTools.h"
#include "screens/frmCLTPartsCriteriaDelete.h"
#include "screens/frmCLTProcesses.h"
#include "screens/frmCLTYieldReportPath.h"

using namespace vx;
using vxtest::Child;
using vxtest::Click;
using vxtest::QueryColumn;

namespace {
struct Processes : vxtest::ScreenFixture<frmCLTProcesses> {
    using ScreenFixture::ScreenFixture;
    // Types {description, file id, path} into the boxes of the given names.
    void type(const QStringList& names, const QStringList& typed)
    {
        for (int i = 0; i < 3; ++i)
            Child<QLineEdit>(screen, qPrintable(names[i]))->setText(typed[i]);
    }
    std::vector<std::string> stored() const
    {
        return QueryColumn(
            box.defDatabase(),
            "SELECT Description || '/' || FileID || '/' || SaveFileTo FROM tblProcesses ORDER BY AutoID");
    }
    QString text(const char* box) const { return Child<QLineEdit>(screen, box)->text(); }
};
using Removal = vxtest::ScreenFixture<frmCLTPartsCriteriaDelete>;
} // namespace

class tst_frmCLTProcesses : public QObject {
    Q_OBJECT

private slots:
    // Each row types {description, file id, path}; a stored value means the process is added.
    void addProcess_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        auto row = [](const char* name, const QStringList& typed, const char* message, const char* stored = "") {
            QTest::newRow(name) << typed << QString(message) << QString(stored);
        };
        row("added, trimmed", {"  Edge Banding ", " EB ", " /tmp "}, "", "Edge Banding/EB//tmp");
        row("apostrophes work, missing folder kept", {"O'Brien's Doors", "O'B", "/tmp/o'b"},
            "The folder /tmp/o'b does not exist. Save anyway?", "O'Brien's Doors/O'B//tmp/o'b");
        row("no description", {"  ", "X", "/tmp"}, "You need to enter a Description.");
        row("description differs only in case", {"cabinet PARTS", "X", "/tmp"},
            "This Description already exists. Descriptions must be unique.");
        row("no file id", {"New", "", "/tmp"}, "You need to enter a FileID.");
        row("file id in other case", {"New", "cab", "/tmp"}, "This FileID already exists. FileIDs must be unique.");
        row("no path", {"New", "NEW", " "}, "You need to enter or select a Path for SaveFileTo.");
    }
    void addProcess()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        Processes f;
        f.presenter.answer(vbYes); // to the missing-folder question
        QCOMPARE(f.screen->grid()->Rows(), 3);
        f.screen->grid()->SelectRow(1);
        QCOMPARE(f.text("txtEditDescription"), QString("Cabinet Parts"));
        f.type({"txtDescription", "txtFileID", "txtFilePath"}, typed);
        Click(f.screen, "cmdAddProcess");
        // Adding always forgets the selected process.
        QCOMPARE(f.screen->selectedRow(), 0);
        QVERIFY(f.text("txtEditDescription").isEmpty());
        QCOMPARE(QString::fromStdString(f.lastPrompt()), message);
        QCOMPARE(f.stored().size(), size_t(stored.isEmpty() ? 2 : 3));
        QCOMPARE(f.screen->grid()->Rows(), stored.isEmpty() ? 3 : 4);
        QCOMPARE(f.text("txtDescription"), stored.isEmpty() ? typed[0] : QString());
        if (!stored.isEmpty())
            QCOMPARE(QString::fromStdString(f.stored().back()), stored);
    }

    // Row 2 in Description order is "Solid Wood" (SOLID, "/out"); each row types {description,
    // file id, path}. An empty stored value means the process is unchanged.
    void saveChanges_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        auto row = [](const char* name, const QStringList& typed, const char* message, const char* stored = "") {
            QTest::newRow(name) << typed << QString(message) << QString(stored);
        };
        row("saved", {"Solid Wood's", "SW'1", "/tmp"}, "The Changes have been Saved.", "Solid Wood's/SW'1//tmp");
        row("missing folder", {"Solid", "SOLID", "/nowhere"}, "The folder /nowhere does not exist. Save anyway?");
        row("only case changed", {"SOLID WOOD", "solid", "/OUT"},
            "The edited values are the same as the current values. No changes have been made.");
        row("other's description", {"cabinet parts", "X", "/out"},
            "The Description matches an existing description. Descriptions must be unique.");
        row("other's file id", {"Solid", "Cab", "/out"},
            "The FileID matches an existing fileid. FileIDs must be unique.");
        row("empty description", {" ", "X", "/out"}, "You must have a Description.");
        row("empty file id", {"S", "", "/out"}, "You must have a FileID.");
        row("empty path", {"S", "S", ""}, "You need to enter or select a Path for SaveFileTo.");
    }
    void saveChanges()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        Processes f("UPDATE tblProcesses SET SaveFileTo = '/out' WHERE AutoID = 2");
        Click(f.screen, "cmdSaveProcessChanges"); // nothing selected: nothing happens
        QVERIFY(f.presenter.prompts.empty());
        f.screen->grid()->SelectRow(2);
        QCOMPARE(f.screen->selectedAutoID(), 2);
        f.type({"txtEditDescription", "txtEidtFileID", "txtEditFilePath"}, typed);
        Click(f.screen, "cmdSaveProcessChanges");
        QCOMPARE(f.presenter.prompts.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f.lastPrompt()), message);
        QCOMPARE(QString::fromStdString(f.stored()[1]), stored.isEmpty() ? QString("Solid Wood/SOLID//out") : stored);
        if (!stored.isEmpty())
            QCOMPARE(f.screen->grid()->TextMatrix(2, 2), typed[0]);
    }

    void folderPickerWritesTheChosenTarget()
    {
        Processes f;
        Click(f.screen, "cmdEditPathSelect");
        frmCLTYieldReportPath* picker = f.screen->pathPicker();
        QVERIFY(picker && picker->isVisible());
        QVERIFY(Child<QComboBox>(picker, "Drive1")->count() >= 1);
        const QString folder = QString::fromStdString(f.box.runtimeFolder());
        picker->SelectFolder(folder);
        QCOMPARE(Child<QLabel>(picker, "lblNewPath")->text(), folder);
        Click(picker, "cmdSavePath");
        QVERIFY(!picker->isVisible());
        QCOMPARE(f.text("txtEditFilePath"), folder);
        QVERIFY(f.text("txtFilePath").isEmpty());
        Click(f.screen, "cmdPathSelect");
        Click(picker, "cmdDone"); // Cancel writes nothing
        QVERIFY(f.text("txtFilePath").isEmpty());
    }

    // Each press asks once, naming the count (Return answers No); the part names of a deleted
    // process go to the first process, which is never deleted.
    void removalAsksThenDeletes()
    {
        Removal f("INSERT INTO tblMaterials (Material) VALUES ('O''AK');"
                  "INSERT INTO tblProcesses (Description, FileID, SaveFileTo) VALUES ('Paint', 'P', '')");
        vxtest::KeyedMessageBoxes boxes;
        boxes.keys = "\ryy\r\ry";
        f.menu.show();
        BoundGrid* parts = f.screen->partsCriteriaGrid();
        const int before = parts->Rows() - 1;
        QStringList doomed;
        for (int row : {1, 2, 4}) {
            parts->SelectRow(row, row != 1);
            doomed << "'" + parts->TextMatrix(row, 2).replace("'", "''") + "'";
        }
        Click(f.screen, "cmdDelete1");
        QCOMPARE(parts->Rows() - 1, before);
        Click(f.screen, "cmdDelete1");
        QCOMPARE(parts->Rows() - 1, before - 3);
        QCOMPARE(f.def("SELECT count(*) FROM tblPartsCriteria WHERE Part IN (" + doomed.join(',').toStdString() + ")"),
                 "0");
        BoundGrid* materials = f.screen->materialsGrid();
        for (int r = 1; r < materials->Rows(); ++r)
            if (materials->TextMatrix(r, 2) == "O'AK")
                materials->SelectRow(r);
        Click(f.screen, "cmdDelete2");
        QCOMPARE(f.def("SELECT count(*) FROM tblMaterials WHERE Material = 'O''AK'"), "0");
        BoundGrid* processes = f.screen->processesGrid();
        processes->SelectRow(1);
        processes->SelectRow(2, true);
        Click(f.screen, "cmdDelete3"); // the first process is kept, so nothing is deleted
        processes->SelectRow(2);
        Click(f.screen, "cmdDelete3");
        QCOMPARE(f.def("SELECT count(*) FROM tblProcesses"), "3");
        processes->SelectRow(3, true);
        Click(f.screen, "cmdDelete3");
        QCOMPARE(f.def("SELECT group_concat(Description) FROM tblProcesses"), "Cabinet Parts");
        QCOMPARE(f.def("SELECT count(*) FROM tblPartsCriteria WHERE Process <> 1"), "0");
        const QString delete3 = "Delete 3 part names and their criteria? This can not be undone.|";
        QCOMPARE(
            boxes.prompts.join(u'|'),
            delete3 + delete3 +
                "Delete 1 material? This can not be undone.|The first process, Cabinet Parts, "
                "can not be deleted: parts without a process of their own go to it. Nothing was deleted.|3 part names "
                "use the process Solid Wood. They will go to Cabinet Parts. Delete it?|3 part names use the "
                "processes Solid Wood, Paint. They will go to Cabinet Parts. Delete them?");
    }
};

QTEST_MAIN(tst_frmCLTProcesses)
#include "tst_frmCLTProcesses.moc"
