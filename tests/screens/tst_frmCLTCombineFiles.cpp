// Combining parts files: every part of every listed file in list order, the list's refusals,
// and a failed combine that writes nothing and keeps the list.
#include "ScreenTestTools.h"
#include "screens/FilesToCombine.h"
#include "screens/frmCLTCombineFiles.h"

using namespace vx;
using vxtest::Click;
using vxtest::QueryColumn;
using vxtest::ReadFile;

namespace {
// A parts file of n parts from the runtime template: every column set, the parts stored in
// falling SEQ_NUM order, apostrophes in texts and a null Material and UF_20.
std::string PartsFile(const vxtest::RuntimeSandbox& box, const std::string& name, int n)
{
    std::string path = box.file(name);
    QFile::copy(QString::fromStdString(box.templateDatabase()), QString::fromStdString(path));
    Connection::Open(path)->Execute(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(n) +
        ") INSERT INTO tblParts (SEQ_NUM, Quantity, Thickness, Width, Length, Part, Material, Scribes, PocketHoles, "
        "B_Grade, FileName, UF_1, UF_20) SELECT 100 - i, i, 0.75, i * 1.5, 2000.125 + i, 'O''Brien ' || i, "
        "CASE i WHEN 2 THEN NULL ELSE 'MDF' END, '10|20', i % 2, 1, '" +
        name + "', 'B' || i, NULL FROM n");
    return path;
}

// Every part row but AutoIDNum as one text, in stored order; with emptyForNull a null text reads "".
std::vector<std::string> Rows(const std::string& db, bool emptyForNull)
{
    std::string row = "''";
    for (const ColumnInfo& ci : Connection::Open(db)->TableColumns("tblParts")) {
        std::string col = SqlName(ci.name);
        if (ci.name != "AutoIDNum")
            row += " || '|' || quote(" +
                   (emptyForNull && ci.type == FieldType::Text ? "IFNULL(" + col + ", '')" : col) + ")";
    }
    return QueryColumn(db, "SELECT " + row + " FROM tblParts ORDER BY rowid");
}

struct Fixture : vxtest::ScreenFixture<frmCLTCombineFiles> {
    void add(const std::vector<std::string>& paths)
    {
        std::string answer;
        for (const std::string& p : paths)
            answer += p + '\0';
        dialogs.answer(answer);
        Click(screen, "cmdSelectFiles");
    }
    QStringList listed() const
    {
        QStringList rows;
        for (int r = 1; r < screen->grid()->Rows(); ++r)
            rows << screen->grid()->TextMatrix(r, 1);
        return rows;
    }
};
} // namespace

class tst_frmCLTCombineFiles : public QObject {
    Q_OBJECT

private slots:
    void combinesEveryPartInListOrder()
    {
        Fixture f;
        std::string a = PartsFile(f.box, "a.rdb", 10), b = PartsFile(f.box, "b.rdb", 5), day = f.box.file("day.rdb");
        f.box.execDef("UPDATE tblPartsFileMapping SET UserLabel = ' CAB NO ' WHERE MainName = 'UF_1'");
        const std::string templateBytes = ReadFile(f.box.templateDatabase());
        f.add({a, b});
        f.dialogs.answer(day);
        Click(f.screen, "cmdCombineTheFiles");
        std::vector<std::string> expected = Rows(a, true), fromB = Rows(b, true);
        expected.insert(expected.end(), fromB.begin(), fromB.end());
        QCOMPARE(Rows(day, false), expected);
        QCOMPARE(vxtest::QueryScalar(day, "SELECT UserLabel FROM tblUserLabels WHERE DBName = 'UF_1'"), "CAB NO");
        QCOMPARE(f.lastPrompt(), "The Cutwise Parts File: " + day + ", has been created.");
        QVERIFY(f.listed().isEmpty());
        QCOMPARE(ReadFile(f.box.templateDatabase()), templateBytes);
    }

    // A file that cannot be combined: the error, no file written, the old target and the list kept.
    void failedCombineWritesNothing_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message"); // after "Error: <number>, " and the file's path
        QTest::newRow("not a database") << "text"
                                        << " could not be read: it is not a parts file.";
        QTest::newRow("no tblParts") << "DROP TABLE tblParts"
                                     << " could not be read: it is not a parts file.";
        QTest::newRow("lacks a column") << "ALTER TABLE tblParts DROP COLUMN UF_20"
                                        << ": Item cannot be";
        QTest::newRow("gone since listed") << "gone"
                                           << " could not be found. Choose it again.";
    }
    void failedCombineWritesNothing()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        Fixture f;
        std::string good = PartsFile(f.box, "good.rdb", 3), broken = PartsFile(f.box, "bad.rdb", 2);
        std::string day = f.box.writeFile("day.rdb", "yesterday's file");
        if (damage == "text")
            f.box.writeFile("bad.rdb", "Seq,Part\r\n1,SIDE\r\n");
        else if (damage != "gone")
            Connection::Open(broken)->Execute(damage.toStdString());
        f.add({good, broken});
        if (damage == "gone")
            QFile::remove(QString::fromStdString(broken));
        f.dialogs.answer(day);
        Click(f.screen, "cmdCombineTheFiles");
        QVERIFY2(f.lastPrompt().rfind("Error: ", 0) == 0 &&
                     vxtest::Contains(f.lastPrompt(), broken + message.toStdString()),
                 f.lastPrompt().c_str());
        QCOMPARE(ReadFile(day), "yesterday's file");
        QCOMPARE(QDir(f.box.root().c_str()).entryList({"*vxtmp*"}, QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(f.listed(), (QStringList{QString::fromStdString(good), QString::fromStdString(broken)}));
    }

    // Cancel in the progress dialog: one plain message, no file, the list kept.
    void cancelledCombineWritesNothing()
    {
        Fixture f;
        struct Stop : Progress {
            bool update(int64_t) override { return false; }
        } stop;
        FilesToCombine files;
        files.AddFiles({PartsFile(f.box, "a.rdb", 3), PartsFile(f.box, "b.rdb", 2)});
        QVERIFY(!files.CombineTheFiles(f.box.file("day.rdb"), stop));
        QCOMPARE(f.presenter.prompts.size(), size_t(1));
        QCOMPARE(f.lastPrompt(), "Combining was cancelled. No file was written.");
        QVERIFY(!QFile::exists(QString::fromStdString(f.box.file("day.rdb"))));
        QCOMPARE(files.Paths().size(), size_t(2));
    }

    void listRefusesProgramFilesAndRepeats()
    {
        Fixture f;
        Click(f.screen, "cmdCombineTheFiles");
        QCOMPARE(f.lastPrompt(), "No files in the list.");
        QVERIFY(f.dialogs.requests.empty());
        std::string a = f.box.file("a.rdb"), upper = f.box.file("A.rdb");
        f.add({a, f.box.defDatabase(), a, upper});
        QCOMPARE(f.presenter.prompts.size(), size_t(3));
        QCOMPARE(f.presenter.prompts[1].text, "CLTDef.mdb is a file used by this software. You can not use this file.");
        QCOMPARE(f.presenter.prompts[2].text, "a.rdb is already in the list of Files to Combine.");
        QCOMPARE(f.listed(), (QStringList{QString::fromStdString(a), QString::fromStdString(upper)}));
        f.dialogs.answer(f.box.templateDatabase());
        Click(f.screen, "cmdCombineTheFiles");
        QCOMPARE(f.lastPrompt(), "The file selected is a file used by this software. You can not use this file.");
    }
};

QTEST_MAIN(tst_frmCLTCombineFiles)
#include "tst_frmCLTCombineFiles.moc"
