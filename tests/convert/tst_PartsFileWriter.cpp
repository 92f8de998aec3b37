// Writing parts files: which rows and values land in tblParts and tblUserLabels, the
// target replaced only by a complete file, the working-database lock, and process files.
#include "ConvertTestTools.h"

#include "convert/WorkingDatabaseLock.h"
#include "start/Messages.h"

#include <QElapsedTimer>
#include <QtTest>

#include <filesystem>

using namespace vx;
using namespace convtest;

namespace {
const char* kNoParts = "You must open a comma delimited parts file, or there are no parts in the file.";

// Part 1, material 2, width 3, length 4, UF_1 5; part P valid in process 1, X not valid,
// S valid in process 2.
std::string PrepareJob(const vxtest::RuntimeSandbox& sandbox, const std::string& lines)
{
    MapColumns(sandbox, {{"PART", 1}, {"MATERIAL", 2}, {"WIDTH", 3}, {"LENGTH", 4}, {"UF_1", 5}});
    sandbox.execDef("INSERT INTO tblPartsCriteria (Part, Valid_Part, Process) VALUES ('P', 1, 1), ('X', 0, 1), "
                    "('S', 1, 2)");
    return sandbox.writeFile("job.csv", lines);
}

QStringList Files(const std::string& folder)
{
    QStringList names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names << QString::fromStdString(entry.path().filename().string());
    names.sort();
    return names;
}
} // namespace

class TestPartsFileWriter : public QObject {
    Q_OBJECT
private slots:
    void validRowsLabelsAndTexts()
    {
        SessionFixture f;
        std::string input = PrepareJob(f.sandbox, "P,OAK,1,2,A\r\nX,OAK,1,2,B\r\nS,,1,2,\r\nP,OAK,3,4,D");
        f.sandbox.execDef("UPDATE tblPartsFileMapping SET UserLabel = 'Cab''s No' WHERE MainName = 'UF_1';"
                          "UPDATE tblPartsFileMapping SET UserLabel = NULL WHERE MainName = 'UF_2';"
                          "UPDATE tblPartsFileMapping SET UserLabel = 'DRAWER' WHERE MainName = 'UF_5'");
        QVERIFY(f.session.Prepare());
        QVERIFY(f.session.AUTOOpenPartsFile(input, "job.csv"));
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

    void refusedTargets_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << ""
                                    << "";
        QTest::newRow("program file") << "template"
                                      << "The file selected is a file used by this software. You can not use this "
                                         "file.";
    }
    void refusedTargets()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        SessionFixture f;
        std::string input = PrepareJob(f.sandbox, "P,OAK,1,2,A");
        QVERIFY(f.session.Prepare());
        QVERIFY(f.session.AUTOOpenPartsFile(input, "job.csv"));
        std::string path = target == "template" ? f.sandbox.templateDatabase() : target.toStdString();
        QVERIFY(!f.session.AUTOCreateROPartsFile(path));
        QCOMPARE(f.presenter.prompts.empty(), message.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(QString::fromStdString(f.presenter.prompts[0].text), message);
        QCOMPARE(WorkingColumn(f.session, "count(*)"), QStringList{"1"});
    }

    void failedWriteLeavesTheOldFile()
    {
        SessionFixture f;
        std::string input = PrepareJob(f.sandbox, "P,OAK,1,2,A");
        std::string target = f.sandbox.writeFile("out.rdb", "the good file");
        // A template column the working table cannot fill makes the write fail.
        Connection::Open(f.sandbox.templateDatabase())->Execute("ALTER TABLE tblParts ADD COLUMN Extra TEXT");
        QVERIFY(f.session.Prepare());
        QVERIFY(f.session.AUTOOpenPartsFile(input, "job.csv"));
        QVERIFY(f.session.AUTOCreateROPartsFile(target)); // reported, as the console driver expects
        QCOMPARE(f.presenter.prompts.size(), size_t(1));
        QVERIFY(QString::fromStdString(f.presenter.prompts[0].text)
                    .startsWith("Error: 3265, Item cannot be found in the collection corresponding to the requested "
                                "name or ordinal. (Extra)"));
        QCOMPARE(vxtest::ReadFile(target), std::string("the good file"));
        QCOMPARE(Files(f.sandbox.root()), (QStringList{"RerezireduRodAduvArivo", "job.csv", "out.rdb"}));
        QCOMPARE(WorkingColumn(f.session, "count(*)"), QStringList{"0"});
    }

    void secondConversionWaitsThenFails()
    {
        vxtest::RuntimeSandbox sandbox;
        vxtest::ScriptedPresenter presenter;
        std::string input = PrepareJob(sandbox, "P,OAK,1,2,A");
        int oldWait = WorkingDatabaseLock::WaitMilliseconds();
        WorkingDatabaseLock::SetWaitMilliseconds(300);
        ConversionSession first, second;
        QVERIFY(first.Prepare());
        QVERIFY(first.AUTOOpenPartsFile(input, "job.csv"));
        // A second screen or conversion prepares at once; reading waits for the first to finish.
        QVERIFY(second.Prepare());
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!second.AUTOOpenPartsFile(input, "job.csv"));
        QVERIFY(timer.elapsed() >= 250);
        QCOMPARE(QString::fromStdString(presenter.prompts.at(0).text),
                 QString::fromStdString("Error: 3260, Another conversion is using the runtime folder's working "
                                        "databases (" +
                                        sandbox.runtimeFolder() +
                                        "). Try again when it has finished., WorkingDatabaseLock"));
        QCOMPARE(WorkingColumn(first, "count(*)"), QStringList{"1"});
        // Writing ends the first conversion's claim.
        QVERIFY(first.AUTOCreateROPartsFile(sandbox.file("out.rdb")));
        QVERIFY(second.AUTOOpenPartsFile(input, "job.csv"));
        QCOMPARE(WorkingColumn(second, "count(*)"), QStringList{"1"});
        WorkingDatabaseLock::SetWaitMilliseconds(oldWait);
    }

    void noProcesses()
    {
        SessionFixture f;
        std::string input = PrepareJob(f.sandbox, "P,OAK,1,2,A");
        f.sandbox.execDef("DELETE FROM tblProcesses");
        QVERIFY(f.session.Prepare());
        QCOMPARE(QString::fromStdString(f.session.ProcessDropDownList()), QString());
        QVERIFY(f.session.AUTOOpenPartsFile(input, "job.csv"));
        int created = 0;
        f.session.DoCreateFilesForProcesses("Job", [&](auto&&...) { ++created; });
        QCOMPARE(created, 0);
        QCOMPARE(f.presenter.prompts.size(), size_t(2));
        for (const auto& p : f.presenter.prompts)
            QVERIFY(QString::fromStdString(p.text).startsWith("Error: 3021, Either BOF or EOF is True"));
        QCOMPARE(WorkingColumn(f.session, "count(*)"), QStringList{"0"});
    }

    void processFiles_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("replace") << int(vbYes);
        QTest::newRow("keep") << int(vbNo);
    }
    void processFiles()
    {
        QFETCH(int, answer);
        SessionFixture f;
        std::string input = PrepareJob(f.sandbox, "P,OAK,1,2,A\r\nS,OAK,1,2,B\r\nX,OAK,1,2,C");
        std::filesystem::create_directories(f.sandbox.file("cab"));
        std::filesystem::create_directories(f.sandbox.file("Bob's solid"));
        f.sandbox.execDef("DELETE FROM tblProcesses;"
                          "INSERT INTO tblProcesses (AutoID, Description, FileID, SaveFileTo) VALUES "
                          "(1, 'Cabinet', '', '" +
                          f.sandbox.file("cab") +
                          "  '),"
                          "(2, 'Solid', 'SOLID', '" +
                          f.sandbox.file("Bob''s solid") +
                          "'),"
                          "(3, 'Empty', 'E', '/nowhere'),"
                          "(4, 'Lost', 'L', '/nowhere')");
        f.sandbox.execDef("UPDATE tblPartsCriteria SET Process = 4 WHERE Part = 'X'; UPDATE tblPartsCriteria SET "
                          "Valid_Part = 1 WHERE Part = 'X'");
        std::string existing = f.sandbox.writeFile("Bob's solid/Job_SOLID.rdb", "old");
        f.presenter.answer(vbOK); // the missing folder
        f.presenter.answer(answer);
        QVERIFY(f.session.Prepare());
        QCOMPARE(QString::fromStdString(f.session.ProcessDropDownList()),
                 QString("#1;Cabinet|#3;Empty|#4;Lost|#2;Solid"));
        QVERIFY(f.session.AUTOOpenPartsFile(input, "job.csv"));
        QStringList created;
        f.session.DoCreateFilesForProcesses("Job", [&](const std::string& p, const std::string& f, const std::string&) {
            created << QString::fromStdString(p + ":" + f);
        });
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
        if (answer == vbYes) {
            QCOMPARE(created, (QStringList{"Cabinet:Job.rdb", "Solid:Job_SOLID.rdb"}));
            QCOMPARE(ToList(vxtest::QueryColumn(existing, "SELECT Part FROM tblParts")), QStringList{"S"});
        } else {
            QCOMPARE(created, QStringList{"Cabinet:Job.rdb"});
            QCOMPARE(vxtest::ReadFile(existing), std::string("old"));
        }
        QCOMPARE(WorkingColumn(f.session, "count(*)"), QStringList{"0"});
    }
};

QTEST_GUILESS_MAIN(TestPartsFileWriter)
#include "tst_PartsFileWriter.moc"
