// Faults around a console conversion: output and input files that cannot be used, a
// configuration database that is damaged, locked or missing, a program folder without its
// factory copies, a runtime root that cannot be made and a disk that fills up. Each ends
// with its message and exit code, and nothing good is lost or left half-written. Then
// conversions at the same time against one runtime folder: eight console conversions of
// different files each get exactly their own rows, and a conversion held open in the
// program (as the convert screen holds it) makes a console conversion wait. Last, a
// conversion never harms a file: input, own databases, log, output, temporary files,
// stored values and echoed rows, also with hostile cut lists. A missing input or output
// folder and the old configuration are among the exit-code cases of tst_Vxclt; a lock
// wait that runs out is checked with the command-line tests.
//
// The tests run as root here, which file permissions do not stop: folders and files are
// made unchangeable with the immutable attribute, missing by putting them under a regular
// file, and full with a file-size limit; a file's write bits, not root's override, decide
// what the program itself may change.
#include "RobustnessTools.h"

#include "base/ProgramState.h"
#include "base/VxError.h"
#include "config/TableStore.h"
#include "config/modCLTSettings.h"
#include "convert/ConversionSession.h"
#include "parts/ManualPartsList.h"
#include "parts/PartsFileEditSession.h"
#include "parts/cCLTPart.h"
#include "screens/FilesToCombine.h"

#include <QtTest>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

namespace fs = std::filesystem;
using vxtest::Contains;
using vxtest::Replaced;
using vxtest::RunResult;

namespace {

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

const std::string kRejected = "ERROR: One or more rows contained invalid data. Nothing was written. Use /allowbad to "
                              "write the valid rows anyway.";

struct stat Stat(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
}
bool HasTemporaryFile(const std::string& folder, const std::string& marker = ".vxtmp")
{
    auto names = vxtest::FolderEntries(folder);
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return Contains(n, marker); });
}

// Records each wait for a lock and cancels it at once, as the operator's Cancel would.
struct CancelledWaits : vx::LockWaitDisplay {
    std::vector<std::string> shown;
    CancelledWaits() { vx::SetLockWaitDisplay(this); }
    ~CancelledWaits() override { vx::SetLockWaitDisplay(nullptr); }
    void begin(const std::string& text) override { shown.push_back(text); }
    bool goOn() override { return false; }
};

// A manual list as the entry screen opens it, with one part typed per name.
void TypeParts(vx::ManualPartsList& list, const std::vector<std::string>& names)
{
    list.ConnectToDefDB();
    list.GetMappingRS();
    list.ConnectToDB();
    list.DeleteAllParts();
    list.GetPartsRS();
    for (const std::string& name : names) {
        vx::cCLTPart part;
        part.SetPart(name);
        list.AddPart(part, 1);
    }
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<vxtest::RuntimeSandbox> m_sandbox;

    RunResult Run(const std::vector<std::string>& args) { return vxtest::RunVxclt(args, m_sandbox->root()); }
    // A cut list of the given data lines after the header line, or of n generated parts.
    std::string Csv(const std::string& rows) { return m_sandbox->writeFile("job.csv", vxtest::kCutListHeader + rows); }
    std::string Csv(int n = 3) { return m_sandbox->writeFile("job.csv", vxtest::CutList("SAFE ", n)); }
    std::string Rdb() const { return m_sandbox->file("job.rdb"); }
    std::string PartsIn(const std::string& rdb) { return vxtest::QueryScalar(rdb, "SELECT COUNT(*) FROM tblParts"); }
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
        RunResult r = Run({Csv(), out});
        vxtest::SetImmutable(dir, false);
        QCOMPARE(r.exitCode, 6);
        QVERIFY(pathIsAFolder || Contains(r.err, "Error: 70, The folder " + dir + " is read-only. Choose another"));
        QVERIFY(Contains(r.err, "ERROR: An error was reported while writing the parts file (see above). Nothing was "
                                "written to " + out + "."));
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
        QCOMPARE(Run({Csv(), rdb}).exitCode, 0);
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
        QCOMPARE(PartsIn(rdb), "3");
        QVERIFY(!HasTemporaryFile(m_sandbox->root()));
        // The next conversion with room to write works again.
        QCOMPARE(Run({big, rdb}).exitCode, 0);
    }

    // ---- Input ----

    void inputUnreadable()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file: an unreadable input cannot be made here");
        std::string csv = Csv();
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
        QVERIFY(!HasTemporaryFile(m_sandbox->root()));
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
        std::string csv = Csv();
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
        std::string csv = Csv();
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
        QCOMPARE(PartsIn(Rdb()), "3");
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
        std::string csv = Csv(), program = vxtest::BinDir(), home = csv + "/home";
        if (!missing.isEmpty()) {
            program = m_sandbox->file("prog");
            home = m_sandbox->file("fresh-home");
            fs::create_directory(program);
            for (const char* name :
                 {"VXCLT", "CLTDefDefault.mdb", "ROPartsFileTemplateDefault.mdb", "ManualPartsTemplateDefault.mdb"})
                if (missing.toStdString() != name)
                    fs::copy_file(vxtest::BinDir() + "/" + name, program + "/" + name);
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
        QVERIFY(!console->waitForFinished(2500)); // waiting for the session's lock, and saying so
        QVERIFY(console->readAllStandardOutput().contains("\nWaiting for the working databases in "));
        QVERIFY(!fs::exists(m_sandbox->file("console.rdb")));

        std::string screenRdb = m_sandbox->file("screen.rdb");
        QVERIFY(session.AUTOCreateROPartsFile(screenRdb)); // the lock goes with the written rows
        QVERIFY(console->waitForFinished(120000));
        QVERIFY2(console->exitCode() == 0, console->readAllStandardError().constData());
        QCOMPARE(Parts(screenRdb), Expected("SCREEN PART ", 40));
        QCOMPARE(Parts(m_sandbox->file("console.rdb")), Expected("CONSOLE PART ", 25));
        session.Release();
    }

    // Two programs typing parts at once: each saves exactly the parts typed in it.
    void twoProgramsEnterPartsByHand()
    {
        vx::ManualPartsList first, second;
        TypeParts(first, {"FIRST 1", "FIRST 2", "FIRST 3"});
        TypeParts(second, {"SECOND 1"}); // its new, empty list empties no other
        const std::string a = m_sandbox->file("first.rdb"), b = m_sandbox->file("second.rdb");
        first.CreatePartsFile(a, "first.rdb", true);
        second.CreatePartsFile(b, "second.rdb", true);
        QCOMPARE(Parts(a), Expected("FIRST ", 3));
        QCOMPARE(Parts(b), Expected("SECOND ", 1));
        first.Close();
        second.Close();
        QVERIFY(!HasTemporaryFile(m_sandbox->runtimeFolder()));
    }

    // A file read-only or held by another program (a transaction with a row inserted) is never
    // written: the other's row survives its commit; the wait was shown (and cancelled here).
    void fileReadOnlyOrInUse_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message");
        const QString inUse = "is in use by another program. Close it there and try again.";
        auto row = [](const char* writer, const char* how, const QString& message) {
            QTest::newRow((std::string(writer) + ": " + how).c_str()) << QString(writer) << QString(how) << message;
        };
        row("combine", "file 0444", "is read-only. Choose another file or make it writable.");
        row("combine", "folder 0555", "is read-only. Choose another folder or make it writable.");
        row("combine", "locked", inUse);
        row("combine", "locked input", "database is locked");
        row("manual save", "locked", inUse);
        row("command line", "locked", inUse);
        row("view/edit cell", "locked", "database is locked");
    }
    void fileReadOnlyOrInUse()
    {
        QFETCH(QString, writer);
        QFETCH(QString, how);
        QFETCH(QString, message);
        const std::string dir = m_sandbox->file("out"), target = dir + "/job.rdb", input = Rdb();
        fs::create_directory(dir);
        QCOMPARE(Run({Csv(), target}).exitCode, 0);
        QCOMPARE(Run({Csv()}).exitCode, 0); // job.rdb, the file combined
        vx::PartsFileEditSession edit;
        QVERIFY(writer != "view/edit cell" || edit.OpenFile(target, "job.rdb"));
        const std::string held = how == "locked input" ? input : target;
        std::shared_ptr<vx::Connection> other; // another program in a transaction
        if (how.startsWith("locked"))
            (other = vx::Connection::Open(held))->Execute("BEGIN EXCLUSIVE; INSERT INTO tblParts (Part) VALUES ('X')");
        else
            ::chmod(how == "file 0444" ? target.c_str() : dir.c_str(), how == "file 0444" ? 0444 : 0555);
        CancelledWaits waits;
        vxtest::ScriptedPresenter presenter;
        std::string said;
        try {
            if (writer == "command line") {
                RunResult r = Run({Csv(5), target});
                QCOMPARE(r.exitCode, 6);
                said = r.err;
            } else if (writer == "combine") {
                vx::FilesToCombine files;
                files.AddAFile(input);
                QVERIFY(!files.CombineTheFiles(target, vx::NoProgress()));
                said = presenter.prompts.at(0).text;
            } else if (writer == "manual save") {
                vx::ManualPartsList list;
                TypeParts(list, {"TYPED"});
                list.CreatePartsFile(target, "job.rdb", true);
            } else {
                QVERIFY(edit.FileUnchangedOnDisk()); // the check waits for nothing; the write does
                edit.PartsRS().SetValueAt(0, edit.PartsRS().ColumnIndex("Part"), "EDITED");
            }
        } catch (const vx::VxError& e) {
            said = e.description();
        }
        if (other)
            other->Execute("COMMIT");
        ::chmod(dir.c_str(), 0755);
        QVERIFY2(Contains(said, message.toStdString()), said.c_str());
        QCOMPARE(waits.shown, other && writer != "command line" ? std::vector<std::string>{vx::WaitingText(held)}
                                                                : std::vector<std::string>{});
        QCOMPARE(PartsIn(target), std::string(held == target && other ? "4" : "3"));
        QVERIFY(!HasTemporaryFile(dir));
    }

    // ---- Files never harmed ----

    void input_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("symlink kept, its target rewritten") << "link" << 0 << true;
        QTest::newRow("mode and owner kept") << "owner" << 0 << true;
        QTest::newRow("mode 0444: read as it is") << "0444" << 0 << false;
        QTest::newRow("read-only folder: read as it is") << "folder" << 0 << false;
        QTest::newRow("binary: refused untouched") << "binary" << 3 << false;
    }
    void input()
    {
        QFETCH(QString, how);
        QFETCH(int, code);
        QFETCH(bool, rewritten);
        const std::string crlf = vxtest::CutList("LF PART ", 3), dir = m_sandbox->file("in"), target = dir + "/job.csv";
        std::string bare = vxtest::Replaced(crlf, "\r\n", "\n");
        if (how == "binary")
            bare.insert(bare.size() - 4, 1, '\0');
        fs::create_directory(dir);
        std::string arg = m_sandbox->writeFile("in/job.csv", bare);
        if (how == "link")
            fs::create_symlink(target, arg = m_sandbox->file("link.csv"));
        ::chmod(target.c_str(), how == "0444" ? 0444 : 0640);
        if (how == "owner" && geteuid() == 0)
            QCOMPARE(::chown(target.c_str(), 1234, 4321), 0);
        ::chmod(dir.c_str(), how == "folder" ? 0555 : 0755);
        const struct stat before = Stat(target);
        RunResult r = Run({arg, Rdb()});
        ::chmod(dir.c_str(), 0755);
        QVERIFY2(r.exitCode == code, r.err.c_str());
        QCOMPARE(fs::exists(Rdb()) ? PartsIn(Rdb()) : "none", std::string(code == 0 ? "3" : "none"));
        QVERIFY(code == 0 || Contains(r.err, target + " is not a text file (it holds a NUL byte)"));
        QVERIFY(vxtest::ReadFile(target) == (rewritten ? crlf : bare));
        const struct stat after = Stat(target);
        QVERIFY(std::tie(after.st_mode, after.st_uid, after.st_gid) ==
                std::tie(before.st_mode, before.st_uid, before.st_gid));
        QVERIFY(how != "link" || fs::is_symlink(arg));
        QVERIFY(!HasTemporaryFile(dir));
    }

    void refusedPaths_data()
    {
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("log");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString own = "The file selected is a file used by this software. You can not use this file.";
        auto row = [](const char* name, const char* out, const char* log, int code, const QString& message) {
            QTest::newRow(name) << QString(out) << QString(log) << code << message;
        };
        row("output through a symlinked runtime folder", "rt/CLTDef.mdb", "", 5, own);
        row("output as a hard link", "hard.mdb", "", 5, own);
        row("log: the input", "job.rdb", "job.csv", 1, "ERROR: /log names the input file ");
        row("log: the output", "job.rdb", "job.rdb", 1, "ERROR: /log names the output file ");
        row("log: the configuration through a link", "job.rdb", "rt/CLTDef.mdb", 1, ", a file used by this software.");
        row("log: in a missing folder", "job.rdb", "missing/x.log", 1, "cannot be opened: No such file or directory.");
    }
    void refusedPaths()
    {
        QFETCH(QString, out);
        QFETCH(QString, log);
        QFETCH(int, code);
        QFETCH(QString, message);
        const std::string def = m_sandbox->defDatabase(), csv = Csv(), text = vxtest::ReadFile(csv);
        fs::create_directory_symlink(m_sandbox->runtimeFolder(), m_sandbox->file("rt"));
        fs::create_hard_link(def, m_sandbox->file("hard.mdb"));
        const ino_t inode = Stat(def).st_ino;
        std::vector<std::string> args = {csv, m_sandbox->file(out.toStdString())};
        if (!log.isEmpty())
            args.insert(args.end(), {"/log", m_sandbox->file(log.toStdString())});
        RunResult r = Run(args);
        QCOMPARE(r.exitCode, code);
        QVERIFY2(Contains(r.err, message.toStdString()), r.err.c_str());
        QVERIFY(vxtest::ReadFile(csv) == text);
        QCOMPARE(Stat(def).st_ino, inode);
        QCOMPARE(vxtest::QueryScalar(def, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'tblParts'"), "0");
        QVERIFY(!fs::exists(Rdb()));
    }

    void outputModeAndLink_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("umask");
        QTest::addColumn<int>("mode");
        auto row = [](const char* name, const char* how, const char* umask, int mode) {
            QTest::newRow(name) << QString(how) << QString(umask) << mode;
        };
        row("a replaced file keeps 0600", "replace", "022", 0600);
        row("umask 077 gives a new file 0600", "new", "077", 0600);
        row("umask 002 gives a new file 0664", "new", "002", 0664);
        row("a symlink stays, its target replaced", "link", "022", 0640);
    }
    void outputModeAndLink()
    {
        QFETCH(QString, how);
        QFETCH(QString, umask);
        QFETCH(int, mode);
        std::string real = how == "link" ? m_sandbox->file("real.rdb") : Rdb();
        if (how != "new")
            QCOMPARE(Run({Csv(), real}).exitCode, 0);
        if (how == "link")
            fs::create_symlink(real, Rdb());
        ::chmod(real.c_str(), static_cast<mode_t>(mode));
        RunResult r = vxtest::RunProgram(
            "/bin/bash",
            {"-c", "umask " + umask.toStdString() + "; exec \"$0\" \"$@\"", vxtest::BinDir() + "/VXCLT", Csv(4), Rdb()},
            m_sandbox->root());
        QVERIFY2(r.exitCode == 0, r.err.c_str());
        QCOMPARE(static_cast<int>(Stat(real).st_mode & 07777), mode);
        QCOMPARE(PartsIn(real), "4");
        QCOMPARE(fs::is_symlink(Rdb()), how == "link");
    }

    void interruptionAndStaleTemporaryFiles()
    {
        // A temporary file of a process that has ended goes; one of a running process stays.
        const std::string dir = m_sandbox->file("out");
        fs::create_directory(dir);
        QProcess gone;
        gone.start("sleep", {"0"});
        QVERIFY(gone.waitForStarted());
        std::ofstream(dir + "/.job.rdb.vxtmp" + std::to_string(gone.processId()) + "_0") << "left by a killed run";
        gone.waitForFinished();
        const std::string live = ".job.rdb.vxtmp" + std::to_string(getpid()) + "_0";
        std::ofstream(dir + "/" + live) << "still being written";

        std::unique_ptr<QProcess> started = vxtest::StartVxclt({Csv(200000), dir + "/job.rdb"}, m_sandbox->root());
        QProcess& p = *started;
        QVERIFY(p.waitForStarted());
        const std::string ours = ".vxtmp" + std::to_string(p.processId()) + "_";
        while (!HasTemporaryFile(dir, ours) && !p.waitForFinished(1)) {
        }
        ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 6);
        QVERIFY(p.readAllStandardError().contains("ERROR: Interrupted by SIGTERM; the temporary files were removed."));
        QCOMPARE(vxtest::FolderEntries(dir), std::vector<std::string>{live});
    }

    void templateWithoutAMappedColumn()
    {
        vxtest::QueryScalar(m_sandbox->templateDatabase(), "ALTER TABLE tblParts DROP COLUMN Width");
        RunResult r = Run({Csv()});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(Contains(r.err, "ERROR: The parts file template " + m_sandbox->templateDatabase() +
                                     " has no column WIDTH in tblParts"),
                 r.err.c_str());
        QVERIFY(!fs::exists(Rdb()));
    }

    void longLinesKeepTheirOwnText()
    {
        // Four rows of 24 MB: the fourth passes the 64 MB one batch of rows holds.
        std::string rows;
        for (char c : {'A', 'B', 'C', 'D'})
            rows += "1,LONG,OAK,0.75,12,30,1,," + std::string(24 << 20, c) + ",\r\n";
        QCOMPARE(Run({Csv(rows)}).exitCode, 0);
        QCOMPARE(vxtest::QueryColumn(Rdb(), "SELECT substr(UF_1, 1, 1) || length(UF_1) || substr(UF_1, -1) FROM "
                                            "tblParts ORDER BY AutoIDNum"),
                 (std::vector<std::string>{"A25165824A", "B25165824B", "C25165824C", "D25165824D"}));
    }

    // Cut lists other software might export: huge lines, thousands of columns, invalid UTF-8,
    // a byte-order mark, old Mac line ends, numbers at and beyond the edges,
    // names full of quotes and SQL, control characters. Each converts to its outcome, the
    // configuration whole, and the console's messages are logged.
    void hostileCutLists_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("stderrHolds");
        // hex(Part) of the written rows, in order, joined by "|" (checked when the code is 0).
        QTest::addColumn<QString>("partsHex");
        QTest::addColumn<QString>("units");

        const std::string h = vxtest::kCutListHeader;
        auto row = [](const std::string& part, const std::string& width = "12", const std::string& qty = "1") {
            return vxtest::CutLine(1, part, width, qty);
        };
        auto hex = [](const std::string& s) { return QString(QByteArray::fromStdString(s).toHex().toUpper()); };
        auto add = [](const char* name, const std::string& bytes, int code, const std::string& err,
                      const QString& parts, const char* units = "none") {
            QTest::newRow(name) << QByteArray::fromStdString(bytes) << code << QString::fromStdString(err) << parts
                                << QString(units);
        };
        const std::string notANumber = "The data in column 5 for WIDTH can not be evaluated as a number.",
                          zero = "The data in column 5 for WIDTH must be > 0.";

        add("10 MB single line", h + std::string(10 << 20, 'x'), 4,
            "PART is mapped to column 2, but the column does not exist in this row.", "");
        add("10,000 columns", h + Replaced(row("WIDE"), "\r\n", "") + std::string(10000, ',') + "\r\n", 0, "",
            hex("WIDE"));
        // Not UTF-8, so read as Windows-1252 and stored as valid UTF-8.
        add("invalid UTF-8 in a name", h + row("BAD\xFF\xFE\xC0UTF"), 0, "", hex("BAD\xC3\xBF\xC3\xBE\xC3\x80UTF"));
        add("UTF-8 byte-order mark before the first field", "\xEF\xBB\xBF" + row("BOM PART"), 0, "", hex("BOM PART"));
        add("CR-only line ends", Replaced(h + row("MAC ONE") + row("MAC TWO"), "\r\n", "\r"), 0, "",
            hex("MAC ONE") + "|" + hex("MAC TWO"));
        add("width 1e308", h + row("HUGE", "1e308"), 0, "", hex("HUGE"));
        add("width 1e309", h + row("BEYOND", "1e309"), 4, notANumber, "");
        // Values the parts file cannot hold: stored as infinite or as 0.
        add("largest double", h + row("EDGE", "1.7976931348623157e308"), 4, notANumber, "");
        add("1e307 inches in millimetres", h + row("EDGE", "1e307"), 4, notANumber, "", "in2mm");
        add("0.0000004", h + row("EDGE", "0.0000004"), 4, zero, "");
        add("0.001 mm in inches", h + row("EDGE", "0.001"), 4, zero, "", "mm2in");
        add("width -0", h + row("MINUS ZERO", "-0"), 4, zero, "");
        add("width NaN", h + row("NAN", "NaN"), 4, notANumber, "");
        add("width inf", h + row("INF", "inf"), 4, notANumber, "");
        add("width 0x10", h + row("HEX", "0x10"), 4, notANumber, "");
        // The delimiter splits inside quotes: "1 goes to WIDTH (1) and 5" to LENGTH (5), the rest shifts on.
        add("width \"1,5\"", h + row("COMMA", "\"1,5\""), 0, "", hex("COMMA"));
        // The whole-number check overflows: its message, and the row is rejected.
        add("quantity 2^31", h + row("OVER", "12", "2147483648"), 4, "Error: 6, Overflow, ", "");
        add("quantity 2^31 - 1", h + row("MAX", "12", "2147483647"), 0, "", hex("MAX"));
        add("escape sequence in an echoed row", h + row("RED\x1B[31m", "abc"), 4,
            "The row contains: 1,RED\\x1B[31m,OAK", "");
        // A line ends at LF, CR or CR LF wherever it occurs.
        add("line ends mixed", h + Replaced(row("LF"), "\r\n", "\n") + row("CRLF") + Replaced(row("CR"), "\r\n", "\r"),
            0, "", hex("LF") + "|" + hex("CRLF") + "|" + hex("CR"));
        add("feet and inches", h + row("FEET", "5'6\""), 4, notANumber, "");
        const std::string nul = "The row holds a NUL character (\\x00), which is not text.";
        add("NUL after 64 KB", h + row(std::string(70000, 'P')) + row(std::string("PI\0NE", 5)), 4, nul, "");
        auto utf16 = [](const std::string& ascii) {
            std::string out = "\xFF\xFE";
            for (char c : ascii)
                out += {c, '\0'};
            return out;
        };
        add("U+0000 in UTF-16", utf16(h + row(std::string("PI\0NE", 5))), 4, nul, "");
        add("UTF-16 ending in an odd byte", utf16(h + row("ODD")) + "A", 0, "ends in an incomplete UTF-16 character",
            hex("ODD"));
        add("quotes, apostrophes, semicolons and SQL",
            h + row("\"Bob's\"; DROP TABLE tblParts;--") + row("x' OR '1'='1") + row("SELECT * FROM tblSettings"), 0,
            "", hex("Bobs; DROP TABLE tblParts;--") + "|" + hex("x OR 1=1") + "|" + hex("SELECT * FROM tblSettings"));
    }
    void hostileCutLists()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, code);
        QFETCH(QString, stderrHolds);
        QFETCH(QString, partsHex);
        QFETCH(QString, units);
        const std::string log = m_sandbox->file("vx.log");
        std::vector<std::string> args = {
            m_sandbox->writeFile("job.csv", content.toStdString()), Rdb(), "/units", units.toStdString(), "/log", log};
        if (content.startsWith("\xEF\xBB\xBF")) // no header line
            args.insert(args.end(), {"/skip", "0"});
        RunResult r = Run(args);
        QCOMPARE(r.exitCode, code);
        QVERIFY2(Contains(r.err, stderrHolds.toStdString()), r.err.substr(0, 2000).c_str());
        // What reaches the console reaches the log, control characters escaped in both.
        for (const std::string& text : {r.err, vxtest::ReadFile(log)}) {
            QVERIFY(Contains(text, stderrHolds.toStdString()) && (code != 4 || Contains(text, kRejected)));
            QVERIFY(!Contains(text, "\x1B"));
        }
        if (code != 0) {
            QVERIFY(!fs::exists(Rdb()));
            return;
        }
        QCOMPARE(r.err.empty(), stderrHolds.isEmpty());
        QCOMPARE(vxtest::QueryScalar(Rdb(), "SELECT group_concat(h, '|') FROM (SELECT hex(Part) AS h FROM tblParts "
                                            "ORDER BY AutoIDNum)"),
                 partsHex.toStdString());
        // The configuration is whole: the SQL texts were data, nothing more.
        QCOMPARE(vxtest::QueryScalar(m_sandbox->defDatabase(), "PRAGMA integrity_check"), "ok");
        QCOMPARE(vxtest::QueryScalar(m_sandbox->defDatabase(),
                                     "SELECT COUNT(*) FROM tblSettings WHERE SettingName = 'MachineType'"),
                 "1");
    }

    void thousandsOfDistinctPartNames()
    {
        const int n = 5000;
        const std::string csv = m_sandbox->writeFile("job.csv", vxtest::CutList("MANY NAME ", n)), rdb = Rdb();
        RunResult r = Run({csv, rdb});
        QCOMPARE(r.err, std::string());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(vxtest::QueryScalar(rdb, "SELECT COUNT(DISTINCT Part) FROM tblParts"), std::to_string(n));
        // Learned once; a second run learns nothing new.
        for (int run = 0; run < 2; ++run) {
            QCOMPARE(vxtest::QueryScalar(m_sandbox->defDatabase(),
                                         "SELECT COUNT(*) FROM tblPartsCriteria WHERE Part LIKE 'MANY NAME %'"),
                     std::to_string(n));
            QCOMPARE(Run({csv, rdb}).exitCode, 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_Faults.moc"
