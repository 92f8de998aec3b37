// Faults around a console conversion: output and input files that cannot be used, a
// configuration database that is damaged, locked or missing, a program folder without its
// factory copies, a runtime root that cannot be made and a disk that fills up. Each ends
// with its message and exit code, and nothing good is lost or left half-written. Then
// conversions at the same time against one runtime folder: eight console conversions of
// different files each get exactly their own rows, and a conversion held open in the
// program (as the convert screen holds it) makes a console conversion wait. A missing
// input or output folder and the old configuration are among the exit-code cases of
// tst_Vxclt; a lock wait that runs out is checked with the command-line tests.
//
// The tests run as root here, which file permissions do not stop: folders and files are
// made unchangeable with the immutable attribute, missing by putting them under a regular
// file, and full with a file-size limit.
#include "RobustnessTools.h"

#include "config/TableStore.h"
#include "config/modCLTSettings.h"
#include "convert/ConversionSession.h"
#include "start/ProgramState.h"

#include <QtTest>

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;
using vxtest::Contains;
using vxtest::RunResult;

namespace {

void CopyFile(const std::string& from, const std::string& to)
{
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

std::vector<std::string> Parts(const std::string& rdb)
{
    return vxtest::QueryColumn(rdb, "SELECT Part FROM tblParts ORDER BY AutoIDNum");
}

std::vector<std::string> Expected(const std::string& prefix, int n)
{
    std::vector<std::string> names;
    for (int i = 1; i <= n; ++i)
        names.push_back(prefix + std::to_string(i));
    return names;
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<vxtest::RuntimeSandbox> m_sandbox;

    RunResult Run(const std::vector<std::string>& args) { return vxtest::RunVxclt(args, m_sandbox->root()); }
    std::string GoodCsv(const std::string& name = "job.csv")
    {
        return m_sandbox->writeFile(name, vxtest::CutList("FAULT PART ", 3));
    }
    std::string Def() const { return m_sandbox->defDatabase(); }

private slots:
    void init() { m_sandbox = std::make_unique<vxtest::RuntimeSandbox>(); }
    void cleanup() { m_sandbox.reset(); }

    // ---- Output ----

    void outputFolderVanishesDuringTheRun()
    {
        // Large enough that the folder is gone before the writer reaches it.
        std::string csv = m_sandbox->writeFile("big.csv", vxtest::CutList("VANISH ", 150000));
        std::string dir = m_sandbox->file("outdir");
        fs::create_directory(dir);
        std::unique_ptr<QProcess> started = vxtest::StartVxclt({csv, dir + "/out.rdb"}, m_sandbox->root());
        QProcess& p = *started;
        QVERIFY(p.waitForStarted());
        QByteArray out;
        while (!out.contains("Reading parts file...") && p.waitForReadyRead(30000))
            out += p.readAllStandardOutput();
        // Moved away in one step: removing it file by file races the writer creating its temporary file.
        fs::rename(dir, dir + ".gone");
        QVERIFY(p.waitForFinished(180000));
        fs::remove_all(dir + ".gone");
        RunResult r{p.exitCode(), (out + p.readAllStandardOutput()).toStdString(),
                    p.readAllStandardError().toStdString()};
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY2(r.exitCode == 5 || r.exitCode == 6, r.err.c_str());
        QVERIFY(Contains(r.err, "ERROR: "));
        QVERIFY(!fs::exists(dir));
    }

    // A target the writer cannot make: its message, and nothing left in the way.
    void outputCannotBeMade_data()
    {
        QTest::addColumn<bool>("pathIsAFolder");
        QTest::newRow("output folder unchangeable") << false;
        QTest::newRow("output path is a folder") << true;
    }
    void outputCannotBeMade()
    {
        QFETCH(bool, pathIsAFolder);
        std::string dir = m_sandbox->file(pathIsAFolder ? "job.rdb" : "locked"),
                    out = pathIsAFolder ? dir : dir + "/out.rdb";
        fs::create_directory(dir);
        if (pathIsAFolder)
            fs::create_directory(dir + "/keep");
        else if (!vxtest::SetImmutable(dir, true))
            QSKIP("the file system has no immutable attribute");
        RunResult r = Run({GoodCsv(), out});
        vxtest::SetImmutable(dir, false);
        QCOMPARE(r.exitCode, 6);
        QVERIFY(pathIsAFolder || Contains(r.err, "Error: 70, Could not create '" + dir + "/.out.rdb.vxtmp"));
        QVERIFY(Contains(r.err, "ERROR: An error was reported while writing the parts file (see above). " + out +
                                    " may be incomplete."));
        QCOMPARE(vxtest::FolderEntries(dir),
                 pathIsAFolder ? std::vector<std::string>{"keep"} : std::vector<std::string>{});
    }

    void goodOutputSurvivesAFailedReplace_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("output file unchangeable") << false;
        QTest::newRow("disk full while writing") << true;
    }
    void goodOutputSurvivesAFailedReplace()
    {
        QFETCH(bool, diskFull);
        std::string rdb = m_sandbox->file("job.rdb");
        QCOMPARE(Run({GoodCsv(), rdb}).exitCode, 0);
        const std::string good = vxtest::ReadFile(rdb);
        // A second, much larger job that fails to replace the good parts file.
        std::string big = m_sandbox->writeFile("job2.csv", vxtest::CutList("BIG PART ", diskFull ? 20000 : 10));
        RunResult r;
        if (diskFull) {
            // Room for the runtime databases as they stand, not for 20,000 parts.
            r = vxtest::RunVxcltWithFileLimit({big, rdb}, m_sandbox->root(), 600);
        } else {
            if (!vxtest::SetImmutable(rdb, true))
                QSKIP("the file system has no immutable attribute");
            r = Run({big, rdb});
            vxtest::SetImmutable(rdb, false);
        }
        QVERIFY2(r.exitCode == 6 || r.exitCode == 5 || r.exitCode == 3, r.err.c_str());
        QVERIFY(Contains(r.err, "ERROR: "));
        QVERIFY(vxtest::ReadFile(rdb) == good);
        QCOMPARE(vxtest::QueryScalar(rdb, "SELECT COUNT(*) FROM tblParts"), "3");
        for (const std::string& name : vxtest::FolderEntries(m_sandbox->root()))
            QVERIFY2(!Contains(name, ".vxtmp"), name.c_str());
        // The next conversion with room to write works again.
        QCOMPARE(Run({big, rdb}).exitCode, 0);
    }

    // ---- Input ----

    void inputUnreadable()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file: an unreadable input cannot be made here");
        std::string csv = GoodCsv();
        fs::permissions(csv, fs::perms::none);
        RunResult r = Run({csv});
        fs::permissions(csv, fs::perms::owner_read | fs::perms::owner_write);
        QCOMPARE(r.exitCode, 3);
        QVERIFY(Contains(r.err, "ERROR: The parts file could not be read."));
    }

    void inputNeedingRewriteIsUnchangeable_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("input file unchangeable") << false;
        QTest::newRow("disk full during the rewrite") << true;
    }
    void inputNeedingRewriteIsUnchangeable()
    {
        // The rewrite is given up and the file read as it is: unchanged, with the same rows.
        QFETCH(bool, diskFull);
        std::string text = vxtest::CutList("LF PART ", diskFull ? 30000 : 3);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end()); // bare line feeds
        std::string csv = m_sandbox->writeFile("lf.csv", text);
        RunResult r;
        if (diskFull) {
            r = vxtest::RunVxcltWithFileLimit({csv}, m_sandbox->root(), 600);
        } else {
            if (!vxtest::SetImmutable(csv, true))
                QSKIP("the file system has no immutable attribute");
            r = Run({csv});
            vxtest::SetImmutable(csv, false);
        }
        // With the disk full, learning 30,000 new part names fails next.
        QCOMPARE(r.exitCode, diskFull ? 3 : 0);
        QVERIFY(vxtest::ReadFile(csv) == text);
        QCOMPARE(fs::exists(m_sandbox->file("lf.rdb")), !diskFull);
        for (const std::string& name : vxtest::FolderEntries(m_sandbox->root()))
            QVERIFY2(!Contains(name, ".vxtmp"), name.c_str());
    }

    // ---- The configuration database ----

    void damagedConfiguration_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString damaged = " is damaged (";
        QTest::newRow("zero length") << "empty" << 2 << damaged + "the file is empty). To go back to the factory";
        QTest::newRow("truncated") << "truncate" << 2 << damaged + "database disk image is malformed)";
        QTest::newRow("not a database") << "text" << 2 << damaged + "file is not a database)";
        QTest::newRow("a bad page in the mapping") << "page" << 2 << damaged + "*** in database main ***";
        QTest::newRow("no mapping table")
            << "DROP TABLE tblPartsFileMapping" << 2 << "ERROR: The parts file mapping is incomplete.";
        QTest::newRow("no working table")
            << "DROP TABLE tblPartsFileProcessTemplate" << 3 << "ERROR: The parts file could not be read.";
        // Settings that cannot be read stop the conversion: factory defaults must not stand in.
        QTest::newRow("no settings table")
            << "DROP TABLE tblSettings" << 2 << "Error: 3001, The table 'tblSettings' does not exist";
        QTest::newRow("settings named but unreadable")
            << "DROP TABLE tblSettings" << 2 << "ERROR: The settings could not be read from ";
        QTest::newRow("working table without WIDTH")
            << "ALTER TABLE tblPartsFileProcessTemplate DROP COLUMN WIDTH" << 3 << "Error: 3265, ";
    }
    void damagedConfiguration()
    {
        QFETCH(QString, damage);
        QFETCH(int, code);
        QFETCH(QString, message);
        std::string csv = GoodCsv();
        std::string def = Def();
        std::string d = damage.toStdString();
        if (d == "empty")
            fs::resize_file(def, 0);
        else if (d == "truncate")
            fs::resize_file(def, fs::file_size(def) / 3);
        else if (d == "text")
            std::ofstream(def, std::ios::trunc) << "Seq,Part\r\nthis is not a database\r\n";
        else if (d == "page") {
            long root = std::stol(vxtest::QueryScalar(def, "SELECT rootpage FROM sqlite_master WHERE name = "
                                                           "'tblPartsFileMapping'"));
            std::fstream f(def, std::ios::in | std::ios::out | std::ios::binary);
            f.seekp((root - 1) * std::stol(vxtest::QueryScalar(def, "PRAGMA page_size"))) << std::string(64, 'Z');
        } else
            m_sandbox->execDef(d);
        RunResult r = Run({csv});
        QCOMPARE(r.exitCode, code);
        QVERIFY2(Contains(r.err, message.toStdString()), r.err.c_str());
        QVERIFY(!fs::exists(m_sandbox->file("job.rdb")));
    }

    void configurationLockedByAnotherProgram()
    {
        // Another program holds an exclusive lock for two seconds: the conversion waits for it.
        std::string csv = GoodCsv();
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(Def().c_str(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        std::thread release([db] {
            std::this_thread::sleep_for(std::chrono::seconds(2));
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        });
        auto started = std::chrono::steady_clock::now();
        RunResult r = Run({csv});
        release.join();
        sqlite3_close(db);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(std::chrono::steady_clock::now() - started >= std::chrono::seconds(2));
        QCOMPARE(vxtest::QueryScalar(m_sandbox->file("job.rdb"), "SELECT COUNT(*) FROM tblParts"), "3");
    }

    // ---- Program folder and runtime root ----

    // A program folder without one factory copy, or a runtime root under a regular file.
    void runtimeFilesCannotBeSetUp_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("message");
        QTest::newRow("configuration") << "CLTDefDefault.mdb"
                                       << "Error: 53, Could not find or open file ";
        QTest::newRow("parts-file template") << "ROPartsFileTemplateDefault.mdb"
                                             << "Error: 53, File not found: ";
        QTest::newRow("runtime root not creatable") << ""
                                                    << "Error: 53, Could not find or open file '{csv}/home/";
    }
    void runtimeFilesCannotBeSetUp()
    {
        QFETCH(QString, missing);
        QFETCH(QString, message);
        std::string csv = GoodCsv(), program = vxtest::BinDir(), home = csv + "/home";
        if (!missing.isEmpty()) {
            program = m_sandbox->file("prog");
            home = m_sandbox->file("fresh-home");
            fs::create_directory(program);
            for (const char* name :
                 {"VXCLT", "CLTDefDefault.mdb", "ROPartsFileTemplateDefault.mdb", "ManualPartsTemplateDefault.mdb"})
                if (missing.toStdString() != name)
                    CopyFile(vxtest::BinDir() + "/" + name, program + "/" + name);
        }
        RunResult r = vxtest::RunProgram(program + "/VXCLT", {csv}, home);
        QCOMPARE(r.exitCode, 6);
        QVERIFY2(Contains(r.err, vxtest::Replaced(message.toStdString(), "{csv}", csv)), r.err.c_str());
        QVERIFY(!fs::exists(m_sandbox->file("job.rdb")));
    }

    // ---- Conversions at the same time ----

    void eightConsoleConversionsAtOnce()
    {
        const int jobs = 8;
        std::vector<std::unique_ptr<QProcess>> running;
        for (int k = 0; k < jobs; ++k) {
            std::string prefix = "JOB" + std::to_string(k) + " PART ";
            std::string csv =
                m_sandbox->writeFile("job" + std::to_string(k) + ".csv", vxtest::CutList(prefix, 300 + 97 * k));
            running.push_back(vxtest::StartVxclt({csv}, m_sandbox->root()));
        }
        for (int k = 0; k < jobs; ++k) {
            QProcess& p = *running[k];
            QVERIFY(p.waitForFinished(300000));
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        }
        for (int k = 0; k < jobs; ++k) {
            std::string prefix = "JOB" + std::to_string(k) + " PART ";
            QCOMPARE(Parts(m_sandbox->file("job" + std::to_string(k) + ".rdb")), Expected(prefix, 300 + 97 * k));
        }
        // Every new name was learned once, whichever conversion met it first.
        QCOMPARE(vxtest::QueryScalar(m_sandbox->defDatabase(),
                                     "SELECT COUNT(*) FROM tblPartsCriteria WHERE Part LIKE 'JOB_ PART %'"),
                 std::to_string(8 * 300 + 97 * 28));
    }

    void consoleConversionWaitsForAnOpenSession()
    {
        std::string screenCsv = m_sandbox->writeFile("screen.csv", vxtest::CutList("SCREEN PART ", 40));
        std::string consoleCsv = m_sandbox->writeFile("console.csv", vxtest::CutList("CONSOLE PART ", 25));
        vx::LoadSettings();
        vx::State().AskIfValid = 0;
        vx::ConversionSession session; // the convert screen with a file read, not yet written
        QVERIFY(session.Prepare());
        QVERIFY(session.AUTOOpenPartsFile(screenCsv, "screen.csv"));

        auto console = vxtest::StartVxclt({consoleCsv}, m_sandbox->root());
        QVERIFY(console->waitForStarted());
        QVERIFY(!console->waitForFinished(2500)); // waiting for the session's lock
        QVERIFY(!fs::exists(m_sandbox->file("console.rdb")));

        std::string screenRdb = m_sandbox->file("screen.rdb");
        QVERIFY(session.AUTOCreateROPartsFile(screenRdb)); // the lock goes with the written rows
        QVERIFY(console->waitForFinished(120000));
        QVERIFY2(console->exitCode() == 0, console->readAllStandardError().constData());
        QCOMPARE(Parts(screenRdb), Expected("SCREEN PART ", 40));
        QCOMPARE(Parts(m_sandbox->file("console.rdb")), Expected("CONSOLE PART ", 25));
        session.Release();
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_Faults.moc"
