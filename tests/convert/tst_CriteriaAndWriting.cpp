// Applying the part criteria and writing parts files: every rule and its gating, criteria
// re-applied after changes, which rows and values land in the parts file, the target
// replaced only by a complete file, process files, and the console's straight write
// giving the same files as the way through the working table.
#include "ConvertTestTools.h"

#include "base/Messages.h"

#include <QtTest>

#include <filesystem>

using namespace vx;
using namespace convtest;

namespace {
const char* kRowColumns = "ValidPart || '|' || Process || '|' || WIDTH || '|' || LENGTH || '|' || SCRIBES || '|' || "
                          "SPACEBALLS || '|' || B_GRADE || '|' || POCKETHOLES || '|' || PANEL || '|' || "
                          "Dimensions_Switched || '|' || Scribes_Reversed";

void AddCriteria(const vxtest::RuntimeSandbox& sandbox, const QString& values)
{
    sandbox.execDef("INSERT INTO tblPartsCriteria (Part, Valid_Part, B_Grade, Pocket_Holes, Space_Ball_Loc, Panel, "
                    "Min_Panel_Width, Process, Switch_Dims, Reverse_Scribes) VALUES " +
                    values.toStdString());
}
const char* kNoParts = "You must open a comma delimited parts file, or there are no parts in the file.";

// Part 1, material 2, width 3, length 4, UF_1 5; part P valid in process 1, X not valid,
// S valid in process 2; then the SQL given runs on the configuration, the session is
// prepared and reads the lines as job.csv.
bool OpenJob(SessionFixture& f, const std::string& lines, const std::string& sql = "")
{
    MapColumns(f.sandbox, {{"PART", 1}, {"MATERIAL", 2}, {"WIDTH", 3}, {"LENGTH", 4}, {"UF_1", 5}});
    f.sandbox.execDef("INSERT INTO tblPartsCriteria (Part, Valid_Part, Process) VALUES ('P', 1, 1), ('X', 0, 1), "
                      "('S', 1, 2);" +
                      sql);
    return f.session.Prepare() && f.session.AUTOOpenPartsFile(f.sandbox.writeFile("job.csv", lines), "job.csv");
}

// Every row of a table, each value quoted as SQLite stores it (so 1, 1.0 and '1' differ).
QStringList Dump(const std::string& db, const std::string& table)
{
    std::string row;
    for (const std::string& column : vxtest::QueryColumn(db, "SELECT name FROM pragma_table_info('" + table + "')"))
        row += (row.empty() ? "" : " || '|' || ") + std::string("quote(") + SqlName(column) + ")";
    return ToList(vxtest::QueryColumn(db, "SELECT " + row + " FROM " + table + " ORDER BY rowid"));
}

struct Outcome {
    QStringList files; // parts file, labels, learned names, then the console's messages
    bool workingTableUsed = false;
};

Outcome Convert(const QString& lines, int units, const QString& templateSql, bool straight)
{
    SessionFixture f; // the console's: messages go to the console, bad rows are skipped
    State().CommandLineMode = true;
    State().AllowBadRows = true;
    SetMachine(1, true, true, true);
    std::string input = f.sandbox.writeFile("job.csv", lines.toStdString());
    f.sandbox.execDef("INSERT INTO tblPartsCriteria (Part, Valid_Part, Process, Switch_Dims) VALUES "
                      "('P', 1, 1, 0), ('X', 0, 1, 0), ('S', 1, 2, 1)");
    if (!templateSql.isEmpty())
        Connection::Open(f.sandbox.templateDatabase())->Execute(templateSql.toStdString());
    Outcome o;
    if (!f.prepare({{"PART", 1}, {"MATERIAL", 2}, {"WIDTH", 3}, {"LENGTH", 4}, {"SCRIBES", 5}, {"UF_1", 6}}))
        return o;
    f.session.LengthConversion = units;
    std::string target = f.sandbox.file("out.rdb");
    if (straight)
        f.session.WriteRowsStraightTo(target);
    bool read = f.session.AUTOOpenPartsFile(input, "job.csv");
    o.workingTableUsed = f.session.PartsCount() > 0 && WorkingColumn(f.session, "AutoIDNum").size() > 0;
    bool written = read && f.session.AUTOCreateROPartsFile(target);
    o.files << QString::number(read) << QString::number(written);
    o.files << Dump(target, "tblParts") << Dump(target, "tblUserLabels")
            << Dump(f.sandbox.defDatabase(), "tblPartsCriteria") << Dump(f.sandbox.defDatabase(), "tblMaterials");
    o.files << ToList(f.sandbox.err);
    return o;
}
} // namespace

class TestCriteriaAndWriting : public QObject {
    Q_OBJECT

    // Maps part 1, width 2, length 3, scribes 4, space balls 5, prepares the session and
    // writes the cut list.
    std::string Prepare(SessionFixture& f, const QString& lines)
    {
        [&] { QVERIFY(f.prepare({{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}, {"SCRIBES", 4}, {"SPACEBALLS", 5}})); }();
        return f.sandbox.writeFile("job.csv", lines.toStdString());
    }

private slots:
    // Each row: {MachineType,Scribes,SpaceBalls,PocketHoles; criteria rows; cut-list lines} and the
    // working rows that result.
    void rules_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("rows");
        // A criteria row: Part, Valid_Part, B_Grade, Pocket_Holes, Space_Ball_Loc, Panel,
        // Min_Panel_Width, Process, Switch_Dims, Reverse_Scribes.
        QTest::addColumn<QString>("message");
        auto add = [](const char* name, const char* machine, const char* criteria, const char* lines,
                      const QStringList& rows, const char* thresholds = "800|1200", const char* message = "") {
            QTest::newRow(name) << QStringList{machine, criteria, lines, thresholds} << rows << QString(message);
        };
        const char* plain = "('P', 1, 0, 0, 0, 0, 0, 1, 0, 0)";
        const char* mirrored = "('P', 1, 0, 0, 0, 0, 0, 1, 0, 1)";
        const char* panel = "('P', 1, 0, 0, 0, 1, 12, 1, 0, 0)";
        add("new part gets the defaults", "2,1,0,0", "", "New,10,20,5|5,9", {"1|1|10.0|20.0|5|5||0|0|0|0|0"});
        add("not valid, other process", "2,0,0,0", "('P', 0, 0, 0, 0, 0, 0, 2, 0, 0)", "P,10,20,,",
            {"0|2|10.0|20.0|||0|0|0|0|0"});
        add("names match in any case", "2,0,0,0", "('Drawer Front', 0, 0, 0, 0, 0, 0, 2, 0, 0)", "DRAWER FRONT,10,20,,",
            {"0|2|10.0|20.0|||0|0|0|0|0"});
        // Names from the operator may hold apostrophes; the rows never do (the reader drops them).
        add("apostrophes in criteria names", "2,0,0,0", "('Bob''s Shelf', 0, 0, 0, 0, 0, 0, 2, 0, 0)",
            "Bob's Shelf,10,20,,", {"1|1|10.0|20.0|||0|0|0|0|0"});
        add("switched dimensions", "2,0,0,0", "('P', 1, 0, 0, 0, 0, 0, 1, 1, 0)", "P,300,700,,",
            {"1|1|700.0|300.0|||0|0|0|1|0"});
        add("mirrored scribes", "2,1,0,0", mirrored, "P,10,100,20|30,", {"1|1|10.0|100.0|50|30||0|0|0|0|1"});
        add("mirrored on the switched length", "2,1,0,0", "('P', 1, 0, 0, 0, 0, 0, 1, 1, 1)", "P,100,10,20|30,",
            {"1|1|10.0|100.0|50|30||0|0|0|1|1"});
        add("zero and end scribe removed", "2,1,0,0", plain, "P,10,100,0|40|60,", {"1|1|10.0|100.0|40||0|0|0|0|0"});
        add("scribes without the accessory", "2,0,0,0", plain, "P,10,100,20|30,", {"1|1|10.0|100.0|||0|0|0|0|0"});
        add("panel at the minimum width", "2,0,0,0", panel, "P,12,100,,\r\nP,11.99,100,,",
            {"1|1|12.0|100.0|||0|0|1|0|0", "1|1|11.99|100.0|||0|0|0|0|0"});
        add("panel on the switched width", "2,0,0,0", "('P', 1, 0, 0, 0, 1, 12, 1, 1, 0)", "P,5,20,,",
            {"1|1|20.0|5.0|||0|0|1|1|0"});
        add("no panel on machine type 0", "0,0,0,0", panel, "P,20,100,,", {"1|1|20.0|100.0|||0|0|0|0|0"});
        add("B grade on machine type 1", "1,0,0,0", "('P', 1, 1, 0, 0, 0, 0, 1, 0, 0)", "P,10,20,,",
            {"1|1|10.0|20.0|||1|0|0|0|0"});
        add("no B grade on machine type 2", "2,0,0,0", "('P', 1, 1, 0, 0, 0, 0, 1, 0, 0)", "P,10,20,,",
            {"1|1|10.0|20.0|||0|0|0|0|0"});
        add("pocket holes with the accessory", "2,0,0,1", "('P', 1, 0, 1, 0, 0, 0, 1, 0, 0)", "P,10,20,,",
            {"1|1|10.0|20.0|||0|1|0|0|0"});
        add("no pocket holes without it", "2,0,0,0", "('P', 1, 0, 1, 0, 0, 0, 1, 0, 0)", "P,10,20,,",
            {"1|1|10.0|20.0|||0|0|0|0|0"});
        add("space balls 2, 3 and 4", "2,0,1,0", "('P', 1, 0, 0, 50, 0, 0, 1, 0, 0)",
            "P,10,700,,9\r\nP,10,1000,,9\r\nP,10,1500,,9",
            {"1|1|10.0|700.0||50.00|600.00|0|0|0|0|0", "1|1|10.0|1000.0||50.00|450.00|450.00|0|0|0|0|0",
             "1|1|10.0|1500.0||50.00|466.67|466.67|466.67|0|0|0|0|0"});
        add("file space balls replaced without the accessory", "2,0,0,0", "('P', 1, 0, 0, 50, 0, 0, 1, 0, 0)",
            "P,10,700,,9|9", {"1|1|10.0|700.0|||0|0|0|0|0"});
        // Two criteria rows for one name are applied one after the other in Part order.
        add("two criteria rows for one name", "1,0,0,0",
            "('P', 1, 1, 0, 0, 0, 0, 2, 1, 0), ('p', 0, 0, 0, 0, 0, 0, 3, 1, 0)", "P,300,700,,",
            {"0|3|700.0|300.0|||1|0|0|1|0"});
        // A refused run leaves the rows as they were read.
        add("4-ball length below 3-ball length", "2,0,1,0", "('P', 0, 0, 0, 0, 0, 0, 2, 0, 0)", "P,10,20,,",
            {"0|1|10.0|20.0|||0|0|0|0|0"}, "1200|800",
            "Length given for 4 extra space balls must be >= Length given for 3 extra space balls, please re-enter.");
        add("criteria without a process", "2,0,1,0", "('P', 0, 0, 0, 0, 0, 0, NULL, 0, 0)", "P,10,20,,",
            {"0|1|10.0|20.0|||0|0|0|0|0"}, "|", "Error: 94, Invalid use of Null, ApplyPartsCriteria");
    }
    void rules()
    {
        QFETCH(QStringList, setup);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        const QStringList m = setup[0].split(','), thresholds = setup[3].split('|');
        // Both ways to the same rows: criteria applied as the rows are read (the open
        // sequence), and read first, then applied.
        for (bool whileReading : {true, false}) {
            SessionFixture f;
            SetMachine(m[0].toInt(), m[1] == "1", m[2] == "1", m[3] == "1");
            State().ExtraSpaceBalls = {thresholds[0].toStdString(), thresholds[1].toStdString()};
            if (!setup[1].isEmpty())
                AddCriteria(f.sandbox, setup[1]);
            std::string path = Prepare(f, setup[2]);
            if (whileReading) {
                QVERIFY(f.session.OpenPartsFile(path, "job.csv", true));
            } else {
                QVERIFY(f.session.OpenCommaDelimitedPartsFile(path, "job.csv"));
                f.session.ApplyPartsCriteria();
            }
            QCOMPARE(f.presenter.prompts.size(), size_t(message.isEmpty() ? 0 : 1));
            if (!message.isEmpty())
                QCOMPARE(QString::fromStdString(f.presenter.prompts[0].text), message);
            QCOMPARE(WorkingColumn(f.session, kRowColumns), rows);
            f.session.ApplyPartsCriteria(); // once more: nothing changes
            QCOMPARE(WorkingColumn(f.session, kRowColumns), rows);
        }
    }

    // Each row: {criteria row; cut-list line; change made to the criteria}, the working row
    // after opening, and after the change is applied.
    void reapplyAfterChanges_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("changed");
        auto add = [](const char* name, const char* criteria, const char* line, const char* change, const char* first,
                      const char* changed) {
            QTest::newRow(name) << QStringList{criteria, line, change} << QString(first) << QString(changed);
        };
        add("switch and back", "('P', 1, 0, 0, 0, 0, 0, 1, 1, 0)", "P,300,700,,", "Switch_Dims = 0", "700.0|300.0||1|0",
            "300.0|700.0||0|0");
        add("mirror and back", "('P', 1, 0, 0, 0, 0, 0, 1, 0, 1)", "P,10,100,20|30,", "Reverse_Scribes = 0",
            "10.0|100.0|50|30|0|1", "10.0|100.0|20|30|0|0");
        add("switch and mirror added later", "('P', 1, 0, 0, 0, 0, 0, 1, 0, 0)", "P,100,10,20|30,",
            "Switch_Dims = 1, Reverse_Scribes = 1", "100.0|10.0|20|0|0", "10.0|100.0|80|1|1");
    }
    void reapplyAfterChanges()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, first);
        QFETCH(QString, changed);
        SessionFixture f;
        SetMachine(2, true, false, false);
        AddCriteria(f.sandbox, setup[0]);
        std::string path = Prepare(f, setup[1]);
        QVERIFY(f.session.AUTOOpenPartsFile(path, "job.csv"));
        const char* columns = "WIDTH || '|' || LENGTH || '|' || SCRIBES || '|' || Dimensions_Switched || '|' || "
                              "Scribes_Reversed";
        QCOMPARE(WorkingColumn(f.session, columns), QStringList{first});
        f.sandbox.execDef("UPDATE tblPartsCriteria SET " + setup[2].toStdString() + " WHERE Part = 'P'");
        f.session.ApplyPartsCriteria();
        QCOMPARE(WorkingColumn(f.session, columns), QStringList{changed});
    }

    void validRowsLabelsAndTexts()
    {
        SessionFixture f;
        QVERIFY(OpenJob(f, "P,OAK,1,2,A\r\nX,OAK,1,2,B\r\nS,,1,2,\r\nP,OAK,3,4,D",
                        "UPDATE tblPartsFileMapping SET UserLabel = 'Cab''s No' WHERE MainName = 'UF_1';"
                        "UPDATE tblPartsFileMapping SET UserLabel = NULL WHERE MainName = 'UF_2';"
                        "UPDATE tblPartsFileMapping SET UserLabel = 'DRAWER' WHERE MainName = 'UF_5'"));
        // A text cell cleared in the grid holds NULL; the parts file gets empty text.
        f.session.connection()->Execute("UPDATE tblPartsFileProcessTemplate SET UF_3 = NULL");
        std::string target = f.sandbox.file("out.rdb");
        QVERIFY(f.session.AUTOCreateROPartsFile(target));
        QCOMPARE(f.presenter.prompts.size(), size_t(0));
        QCOMPARE(ToList(vxtest::QueryColumn(
                     target, "SELECT SEQ_NUM || '|' || Part || '|' || Material || '|' || Width || '|' || UF_1 || '|' "
                             "|| typeof(UF_1) || '|' || typeof(UF_3) || '|' || typeof(Scribes) || '|' || FileName "
                             "FROM tblParts ORDER BY AutoIDNum")),
                 (QStringList{"1|P|OAK|1.0|A|text|text|text|job", "3|S|NONE|1.0||text|text|text|job",
                              "4|P|OAK|3.0|D|text|text|text|job"}));
        QCOMPARE(ToList(vxtest::QueryColumn(target, "SELECT DBName || '=' || IFNULL(UserLabel, 'NULL') FROM "
                                                    "tblUserLabels WHERE DBName IN ('UF_1', 'UF_2', 'UF_5', 'PART') "
                                                    "ORDER BY DBName")),
                 (QStringList{"PART=PART", "UF_1=Cab's No", "UF_2=", "UF_5=DRAWER"}));
        // Written once per read: the working table is empty and the label cleared.
        QCOMPARE(WorkingColumn(f.session, "count(*)"), QStringList{"0"});
        QCOMPARE(QString::fromStdString(f.session.FileOpenedLabel), QString());
        QVERIFY(!f.session.AUTOCreateROPartsFile(target));
        QCOMPARE(QString::fromStdString(f.presenter.prompts.at(0).text), QString(kNoParts));
    }

    void failedWriteLeavesTheOldFile()
    {
        SessionFixture f;
        std::string target = f.sandbox.writeFile("out.rdb", "the good file");
        // A template column the working table cannot fill makes the write fail.
        Connection::Open(f.sandbox.templateDatabase())->Execute("ALTER TABLE tblParts ADD COLUMN Extra TEXT");
        QVERIFY(OpenJob(f, "P,OAK,1,2,A"));
        QVERIFY(f.session.AUTOCreateROPartsFile(target)); // reported, as the console driver expects
        QCOMPARE(f.presenter.prompts.size(), size_t(1));
        QVERIFY(QString::fromStdString(f.presenter.prompts[0].text)
                    .startsWith("Error: 3265, Item cannot be found in the collection corresponding to the requested "
                                "name or ordinal. (Extra)"));
        QCOMPARE(vxtest::ReadFile(target), "the good file");
        QCOMPARE(ToList(vxtest::FolderEntries(f.sandbox.root())),
                 (QStringList{"RerezireduRodAduvArivo", "job.csv", "out.rdb"}));
        QCOMPARE(WorkingColumn(f.session, "count(*)"), QStringList{"0"});
    }

    // Keeping an existing file is walked through the convert screen.
    void processFiles()
    {
        SessionFixture f;
        std::filesystem::create_directories(f.sandbox.file("cab"));
        std::filesystem::create_directories(f.sandbox.file("Bob's solid"));
        std::string existing = f.sandbox.writeFile("Bob's solid/Job_SOLID.rdb", "old");
        f.presenter.answer(vbOK); // the missing folder
        f.presenter.answer(vbYes);
        QVERIFY(OpenJob(f, "P,OAK,1,2,A\r\nS,OAK,1,2,B\r\nX,OAK,1,2,C",
                        "DELETE FROM tblProcesses; INSERT INTO tblProcesses (AutoID, Description, FileID, SaveFileTo) "
                        "VALUES (1, 'Cabinet', '', '" +
                            f.sandbox.file("cab") + "  '), (2, 'Solid', 'SOLID', '" + f.sandbox.file("Bob''s solid") +
                            "'), (3, 'Empty', 'E', '/nowhere'), (4, 'Lost', 'L', '/nowhere');"
                            "UPDATE tblPartsCriteria SET Process = 4, Valid_Part = 1 WHERE Part = 'X'"));
        QCOMPARE(QString::fromStdString(f.session.ProcessDropDownList()),
                 QString("#1;Cabinet|#3;Empty|#4;Lost|#2;Solid"));
        f.session.DoCreateFilesForProcesses("Job", [](auto&&...) {}); // the list of files made: the convert screen
        QStringList prompts;
        for (const auto& p : f.presenter.prompts)
            prompts << QString::fromStdString(p.title + "|" + p.text);
        QCOMPARE(prompts,
                 (QStringList{"|The Path, /nowhere, for Process, Lost, does not exist. The File will not be created "
                              "for this process.",
                              QString::fromStdString("File Exists|For Process: Solid\r\nA file named: "
                                                     "Job_SOLID.rdb\r\nAlready exists in the folder: " +
                                                     f.sandbox.file("Bob's solid") +
                                                     "\r\n\r\nWould you like to replace the existing file with the "
                                                     "new file being created?")}));
        QCOMPARE(ToList(vxtest::QueryColumn(f.sandbox.file("cab") + "/Job.rdb", "SELECT Part FROM tblParts")),
                 QStringList{"P"});
        QCOMPARE(ToList(vxtest::QueryColumn(existing, "SELECT Part FROM tblParts")), QStringList{"S"});
        QCOMPARE(WorkingColumn(f.session, "count(*)"), QStringList{"0"});
    }

    void sameAsThroughTheWorkingTable_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("templateSql");
        QTest::addColumn<bool>("straight"); // whether the rows may skip the working table

        const QString job = "P,OAK,12.5,30,10|10,A\r\nX,OAK,1,2,,B\r\nS,,40,3,1|1,7\r\nNEW,WALNUT,2.25,5,,\r\n"
                            "P,oak,1e1,0.1234567,,'q\r\nP,OAK,abc,2,,bad\r\n";
        QTest::newRow("criteria, new names, a rejected row") << job << 0 << QString() << true;
        QTest::newRow("inches to millimetres") << job << 1 << QString() << true;
        QTest::newRow("millimetres to inches") << job << 2 << QString() << true;
        QTest::newRow("only rows the criteria reject") << "X,OAK,1,2,,\r\n" << 0 << QString() << true;
        // Rows written in blocks of many rows, one rejected row between them.
        const QString kept = job.left(job.lastIndexOf("P,OAK,abc"));
        QTest::newRow("several blocks of rows") << kept.repeated(20) + job + kept.repeated(20) << 0 << QString() << true;
        // A template storing a column with another affinity than the working table gets
        // the rows through the working table.
        QTest::newRow("template with other affinities")
            << job << 0
            << "DROP TABLE tblParts; CREATE TABLE tblParts (AutoIDNum INTEGER PRIMARY KEY AUTOINCREMENT, Part TEXT, "
               "Material TEXT, Thickness TEXT, Width TEXT, Length REAL, Scribes TEXT, SpaceBalls TEXT, UF_1 INTEGER, "
               "FileName TEXT)"
            << false;
    }

    void sameAsThroughTheWorkingTable()
    {
        QFETCH(QString, lines);
        QFETCH(int, units);
        QFETCH(QString, templateSql);
        QFETCH(bool, straight);
        Outcome before = Convert(lines, units, templateSql, false);
        Outcome after = Convert(lines, units, templateSql, true);
        QVERIFY(before.files.size() > 6);
        QCOMPARE(after.files, before.files);
        QVERIFY(before.workingTableUsed);
        QCOMPARE(after.workingTableUsed, !straight);
    }
};

QTEST_GUILESS_MAIN(TestCriteriaAndWriting)
#include "tst_CriteriaAndWriting.moc"
