// The view/edit screen driven as the operator does: open a converted and a manual parts file,
// edit cells (and have the file refuse what a conversion would refuse), delete selected rows,
// re-apply the criteria, check scribes, and refuse files that are not parts files to change.
#include "../screens/ScreenTestTools.h"
#include "parts/frmCLTAddParts.h"
#include "parts/frmCLTViewEditROPartsFile.h"

#include <filesystem>

using namespace vx;
using vxtest::QueryScalar;

namespace {
struct ViewEdit : vxtest::ScreenFixture<frmCLTViewEditROPartsFile> {
    using ScreenFixture::ScreenFixture;
    // The example cut list converted by VXCLT.
    std::string Converted()
    {
        std::string csv = box.writeFile("job.csv", vxtest::ReadFile(vxtest::SourceDir() + "/examples/cutlist.csv"));
        vxtest::RunVxclt({"/in", csv, "/out", box.file("job.rdb")}, box.root());
        return box.file("job.rdb");
    }
    // A parts file typed by hand, from the manual entry template.
    std::string Manual()
    {
        std::string path = box.file("manual.rdb");
        std::filesystem::copy_file(vxtest::BinDir() + "/ManualPartsTemplateDefault.mdb", path);
        vx::Connection::Open(path)->Execute("INSERT INTO tblParts (Part, Width, Length, UF_1) VALUES "
                                            "('SHELF', 10, 20, 'K1'), ('O''BRIEN TOP', 12, 30, 'K2')");
        return path;
    }
    void Open(const std::string& path)
    {
        dialogs.answer(path);
        screen->cmdOpenFile_Click();
    }
    BoundGrid* grid() const { return screen->partsGrid(); }
    int Col(const char* name) const { return grid()->recordSet()->ColumnIndex(name) + 1; }
};
} // namespace

class tst_frmCLTViewEditROPartsFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void cellEditsWriteThroughOrAreRefused_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        const QString changed = "The file job.rdb changed on disk since it was opened. Reopen it?";
        // clang-format off
        QTest::newRow("length") << "Length" << "30.5" << "";
        QTest::newRow("apostrophe") << "Part" << "O'BRIEN SHELF" << "";
        QTest::newRow("qty text") << "Quantity" << "abc" << "Value entered for Qty can not be evaluated as a number.";
        QTest::newRow("qty negative") << "Quantity" << "-2" << "Qty must be >= 0";
        QTest::newRow("width negative") << "Width" << "-1" << "WIDTH must be > 0";
        QTest::newRow("part empty") << "Part" << "  " << "Value required for PART.";
        QTest::newRow("another file copied over it") << "Length" << "31" << changed;
        QTest::newRow("renamed away") << "Length" << "31" << changed;
        // clang-format on
    }
    void cellEditsWriteThroughOrAreRefused()
    {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        ViewEdit v("UPDATE tblPartsFileMapping SET UserLabel = 'Qty' WHERE MainName = 'QUANTITY'");
        std::string path = v.Converted();
        v.Open(path);
        const QString change = QTest::currentDataTag();
        if (change == "another file copied over it") // in place, as cp does
            std::filesystem::copy_file(v.Manual(), path, std::filesystem::copy_options::overwrite_existing);
        else if (change == "renamed away") {
            std::filesystem::rename(path, path + ".moved");
            path += ".moved";
        }
        const std::string read =
            "SELECT " + column.toStdString() + " FROM tblParts ORDER BY AutoIDNum LIMIT 1 OFFSET 2";
        std::string before = QueryScalar(path, read);
        QModelIndex cell = v.grid()->model()->index(2, v.Col(column.toLatin1().constData()) - 1);
        QCOMPARE(v.grid()->model()->setData(cell, typed, Qt::EditRole), refusal.isEmpty());
        QCOMPARE(QueryScalar(path, read), refusal.isEmpty() ? typed.toStdString() : before);
        QCOMPARE(v.presenter.prompts.size(), size_t(refusal.isEmpty() ? 0 : 1));
        QCOMPARE(QString::fromStdString(v.lastPrompt()), refusal);
    }

    void checkScribesThenDeleteSelectedRows_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes deletes the three") << int(vbYes);
        QTest::newRow("No deletes nothing") << int(vbNo);
    }
    // Checking the scribes selects the failing cell; then rows are deleted.
    void checkScribesThenDeleteSelectedRows()
    {
        QFETCH(int, answer);
        ViewEdit v("UPDATE tblSettings SET SettingValue = '1' WHERE SettingName = 'Scribes'");
        std::string path = v.Converted();
        vx::Connection::Open(path)->Execute("UPDATE tblParts SET Scribes = '10|-5' WHERE AutoIDNum = (SELECT AutoIDNum "
                                            "FROM tblParts LIMIT 1 OFFSET 4)");
        v.Open(path);
        vxtest::Click(v.screen, "cmdCheckScribes");
        QCOMPARE(v.presenter.prompts.at(0).text,
                 "Error in a Scribes specification in the cell selected. A Scribe Location value is < 0.");
        QCOMPARE(v.presenter.prompts.at(0).title, "Scribe Error");
        QCOMPARE(v.grid()->currentIndex().row(), 4);
        QCOMPARE(v.grid()->currentIndex().column(), v.screen->ScribesCol - 1);
        v.grid()->clearSelection();
        int before = v.grid()->Rows() - 1;
        // Shown last part first; three rows picked out of order.
        v.grid()->recordSet()->SetSort("AutoIDNum desc");
        v.grid()->Refresh();
        QStringList ids;
        for (int row : {4, 1, 2}) {
            v.grid()->SelectRow(row, true);
            ids << v.grid()->TextMatrix(row, v.Col("AutoIDNum"));
        }
        v.presenter.answer(answer);
        QTest::mouseClick(vxtest::Child<QPushButton>(v.screen, "cmdDeleteSelectedRows"), Qt::LeftButton);
        QCOMPARE(v.presenter.prompts.at(1).style, 260); // No is the default: Enter deletes nothing
        const int deleted = answer == vbYes ? 3 : 0;
        QCOMPARE(
            QueryScalar(path, "SELECT count(*) FROM tblParts WHERE AutoIDNum IN (" + ids.join(',').toStdString() + ")"),
            std::to_string(3 - deleted));
        QCOMPARE(v.grid()->Rows() - 1, before - deleted);
    }

    // The screen's pass sets only flags and space balls; a failure part-way changes nothing.
    void applyCriteria()
    {
        ViewEdit v;
        std::string path = v.Converted();
        auto file = vx::Connection::Open(path);
        file->Execute(
            "UPDATE tblParts SET Scribes = '4.5|11';"
            "INSERT INTO tblParts (Part, Width, Length, Panel, PocketHoles) VALUES ('NO CRITERIA', 30, 40, 1, 1)");
        const std::string dims = "SELECT group_concat(Width || 'x' || Length) FROM tblParts WHERE Part = 'STRETCHER'";
        std::string stretchers = QueryScalar(path, dims);
        v.Open(path);
        vxtest::Click(v.screen, "cmdApplyCriteria");
        QVERIFY(v.presenter.prompts.empty());
        QCOMPARE(QueryScalar(path, dims), stretchers);
        QCOMPARE(QueryScalar(path, "SELECT count(*) FROM tblParts WHERE Scribes <> ''"), "0");
        QCOMPARE(QueryScalar(path, "SELECT Panel + PocketHoles FROM tblParts WHERE Part = 'NO CRITERIA'"), "0");
        QCOMPARE(QueryScalar(path, "SELECT min(Panel) FROM tblParts WHERE Part = 'LEFT SIDE' AND Width >= 12"), "1");

        // A row that fails part-way (after the rows without criteria were reset) leaves every row as it was.
        file->Execute("UPDATE tblParts SET Scribes = '1|2', Panel = 1; CREATE TRIGGER refuse BEFORE UPDATE ON "
                      "tblParts WHEN OLD.Part = 'BOTTOM' BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        v.screen->OpenFile(QString::fromStdString(path)); // reopened after the other program's change
        vxtest::Click(v.screen, "cmdApplyCriteria");
        QCOMPARE(v.presenter.prompts.size(), size_t(1));
        QVERIFY(v.presenter.prompts[0].text.rfind("Error: ", 0) == 0);
        QCOMPARE(QueryScalar(path, "SELECT count(*) FROM tblParts WHERE Scribes = '1|2' AND Panel = 1"),
                 QueryScalar(path, "SELECT count(*) FROM tblParts"));
        QCOMPARE(v.grid()->Rows() - 1, std::stoi(QueryScalar(path, "SELECT count(*) FROM tblParts")));
    }

    // A part with a new name lands in the open file and teaches the name; a failed add says
    // so and claims nothing.
    void addParts()
    {
        ViewEdit v;
        std::string path = v.Converted();
        v.Open(path);
        vxtest::Click(v.screen, "cmdAddParts");
        QPointer<frmCLTAddParts> dialog = v.screen->addPartsDialog();
        QVERIFY(dialog && dialog->isVisible() && !v.screen->isVisible());
        auto type = [&](const char* box, const char* text) { vxtest::Child<QLineEdit>(dialog, box)->setText(text); };
        type("txtSeqNum", "31");
        type("txtThickness", "0.75");
        type("txtWidth", "12");
        type("txtLength", "30");
        vxtest::Child<QComboBox>(dialog, "cmboPart")->setEditText("O'NEW PART");
        vxtest::Child<QComboBox>(dialog, "cmboMaterial")->setEditText("WALNUT");
        vxtest::Click(dialog, "cmdAddParts");
        QCOMPARE(v.presenter.prompts.at(0).text, "Parts have been added.");
        QCOMPARE(QueryScalar(path, "SELECT FileName || '/' || SEQ_NUM || '/' || Width || '/' || Length FROM tblParts "
                                   "WHERE Part = 'O''NEW PART'"),
                 "job.rdb/31/12.0/30.0");
        QCOMPARE(v.def("SELECT count(*) || Valid_Part || Process || (SELECT count(*) FROM tblMaterials WHERE Material "
                       "= 'WALNUT') FROM tblPartsCriteria WHERE Part = 'O''NEW PART'"),
                 "1111");

        vx::Connection::Open(path)->Execute(
            "CREATE TRIGGER refuse BEFORE INSERT ON tblParts BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        vxtest::Child<QComboBox>(dialog, "cmboPart")->setEditText("NEVER ADDED");
        v.screen->OpenFile(QString::fromStdString(path)); // reopened after the other program's change
        vxtest::Click(dialog, "cmdAddParts");
        QCOMPARE(v.presenter.prompts.size(), size_t(2));
        QVERIFY(v.presenter.prompts[1].text.rfind("Error: ", 0) == 0);
        QCOMPARE(v.def("SELECT count(*) FROM tblPartsCriteria WHERE Part = 'NEVER ADDED'"), "0");
    }

    // A file typed by hand opens as a converted one does; then the files this screen must not
    // change: one message, no file open, the file untouched.
    void refusedFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QString notParts = "The file selected is not a Veltrax parts file: other.rdb";
        // clang-format off
        QTest::newRow("text file") << "text" << notParts;
        QTest::newRow("no tblParts") << "nodb" << notParts;
        QTest::newRow("read-only") << "readonly" << "The file selected is read-only, so it can not be changed: other.rdb";
        QTest::newRow("in use") << "locked" << "The file selected is in use by another program: other.rdb.";
        QTest::newRow("program file") << "program" << "The file selected is a file used by this software.";
        // clang-format on
    }
    void refusedFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        ViewEdit v;
        std::string good = v.Manual();
        v.Open(good);
        QCOMPARE(v.grid()->Rows(), 3);
        QVERIFY(v.screen->windowTitle().endsWith("manual.rdb"));
        // Display labels; fields not in use for manual entry hidden; unmapped columns shown.
        QCOMPARE(v.grid()->TextMatrix(0, v.Col("UF_1")), QString("CABINET"));
        QVERIFY(v.grid()->ColHidden(v.Col("AutoIDNum")) && v.grid()->ColHidden(v.Col("UF_3")));
        QVERIFY(!v.grid()->ColHidden(v.Col("FileName")));
        QVERIFY(v.presenter.prompts.empty());
        std::string other = v.box.file("other.rdb");
        std::shared_ptr<vx::Connection> holder;
        if (kind == "text")
            v.box.writeFile("other.rdb", "Part,Width\r\nSHELF,10\r\n");
        else
            std::filesystem::copy_file(good, other);
        if (kind == "nodb")
            vx::Connection::Open(other)->Execute("DROP TABLE tblParts");
        if (kind == "readonly")
            std::filesystem::permissions(other,
                                         std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
        if (kind == "locked") {
            holder = vx::Connection::Open(other);
            holder->Execute("BEGIN EXCLUSIVE; UPDATE tblParts SET Quantity = Quantity");
        }
        if (kind == "program")
            other = v.box.defDatabase();
        std::string bytes = vxtest::ReadFile(other);
        v.Open(other);
        QCOMPARE(v.presenter.prompts.size(), size_t(1));
        QVERIFY(QString::fromStdString(v.presenter.prompts[0].text).startsWith(message));
        QVERIFY(!v.screen->session().IsFileOpen());
        QCOMPARE(v.grid()->Rows(), 1);
        holder.reset();
        QVERIFY(vxtest::ReadFile(other) == bytes);
    }
};

QTEST_MAIN(tst_frmCLTViewEditROPartsFile)
#include "tst_frmCLTViewEditROPartsFile.moc"
