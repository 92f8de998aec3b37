// A console conversion never harms a file: input, own databases, log, output, temporary
// files, stored values and echoed rows. Real files in a temporary folder (run as root here:
// a file's write bits, not root's override, decide).
#include "RobustnessTools.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <tuple>

namespace fs = std::filesystem;
using vxtest::Contains;
using vxtest::RunResult;

namespace {
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
} // namespace

class TestFileSafety : public QObject {
    Q_OBJECT

    std::unique_ptr<vxtest::RuntimeSandbox> m_box;

    RunResult Run(const std::vector<std::string>& args) { return vxtest::RunVxclt(args, m_box->root()); }
    // A cut list of the given data lines after the header line, or of n generated parts.
    std::string Csv(const std::string& rows) { return m_box->writeFile("job.csv", vxtest::kCutListHeader + rows); }
    std::string Csv(int n = 1) { return m_box->writeFile("job.csv", vxtest::CutList("SAFE ", n)); }
    std::string Rdb() const { return m_box->file("job.rdb"); }
    std::string PartsIn(const std::string& rdb) { return vxtest::QueryScalar(rdb, "SELECT COUNT(*) FROM tblParts"); }

private slots:
    void init() { m_box = std::make_unique<vxtest::RuntimeSandbox>(); }
    void cleanup() { m_box.reset(); }

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
        const std::string crlf = vxtest::CutList("LF PART ", 3), dir = m_box->file("in"), target = dir + "/job.csv";
        std::string bare = vxtest::Replaced(crlf, "\r\n", "\n");
        if (how == "binary")
            bare.insert(bare.size() - 4, 1, '\0');
        fs::create_directory(dir);
        std::string arg = m_box->writeFile("in/job.csv", bare);
        if (how == "link")
            fs::create_symlink(target, arg = m_box->file("link.csv"));
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
        const std::string def = m_box->defDatabase(), csv = Csv(), text = vxtest::ReadFile(csv);
        fs::create_directory_symlink(m_box->runtimeFolder(), m_box->file("rt"));
        fs::create_hard_link(def, m_box->file("hard.mdb"));
        const ino_t inode = Stat(def).st_ino;
        std::vector<std::string> args = {csv, m_box->file(out.toStdString())};
        if (!log.isEmpty())
            args.insert(args.end(), {"/log", m_box->file(log.toStdString())});
        RunResult r = Run(args);
        QCOMPARE(r.exitCode, code);
        QVERIFY2(Contains(r.err, message.toStdString()), r.err.c_str());
        QVERIFY(vxtest::ReadFile(csv) == text);
        QCOMPARE(Stat(def).st_ino, inode);
        QCOMPARE(vxtest::QueryScalar(def, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'tblParts'"),
                 std::string("0"));
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
        std::string real = how == "link" ? m_box->file("real.rdb") : Rdb();
        if (how != "new")
            QCOMPARE(Run({Csv(), real}).exitCode, 0);
        if (how == "link")
            fs::create_symlink(real, Rdb());
        ::chmod(real.c_str(), static_cast<mode_t>(mode));
        RunResult r = vxtest::RunProgram(
            "/bin/bash",
            {"-c", "umask " + umask.toStdString() + "; exec \"$0\" \"$@\"", vxtest::BinDir() + "/VXCLT", Csv(4), Rdb()},
            m_box->root());
        QVERIFY2(r.exitCode == 0, r.err.c_str());
        QCOMPARE(static_cast<int>(Stat(real).st_mode & 07777), mode);
        QCOMPARE(PartsIn(real), std::string("4"));
        QCOMPARE(fs::is_symlink(Rdb()), how == "link");
    }

    void interruptionAndStaleTemporaryFiles()
    {
        // A temporary file of a process that has ended goes; one of a running process stays.
        const std::string dir = m_box->file("out");
        fs::create_directory(dir);
        QProcess gone;
        gone.start("sleep", {"0"});
        QVERIFY(gone.waitForStarted());
        std::ofstream(dir + "/.job.rdb.vxtmp" + std::to_string(gone.processId()) + "_0") << "left by a killed run";
        gone.waitForFinished();
        const std::string live = ".job.rdb.vxtmp" + std::to_string(getpid()) + "_0";
        std::ofstream(dir + "/" + live) << "still being written";

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", QString::fromStdString(m_box->root()));
        p.setProcessEnvironment(env);
        p.start(QString::fromStdString(vxtest::BinDir() + "/VXCLT"),
                {QString::fromStdString(Csv(200000)), QString::fromStdString(dir + "/job.rdb")});
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
        vxtest::QueryScalar(m_box->templateDatabase(), "ALTER TABLE tblParts DROP COLUMN Width");
        RunResult r = Run({Csv()});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(Contains(r.err, "ERROR: The parts file template " + m_box->templateDatabase() +
                                     " has no column WIDTH in tblParts"),
                 r.err.c_str());
        QVERIFY(!fs::exists(Rdb()));
    }

    void valuesThePartsFileCannotHold_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("message");
        const QString notANumber = "for WIDTH can not be evaluated as a number.", zero = "for WIDTH must be > 0.";
        auto row = [](const char* name, const char* width, const char* units, const QString& message) {
            QTest::newRow(name) << QString(width) << QString(units) << message;
        };
        row("largest double, stored as infinite", "1.7976931348623157e308", "none", notANumber);
        row("1e307 inches in millimetres", "1e307", "in2mm", notANumber);
        row("0.0000004, stored as 0", "0.0000004", "none", zero);
        row("0.001 mm in inches, stored as 0", "0.001", "mm2in", zero);
    }
    void valuesThePartsFileCannotHold()
    {
        QFETCH(QString, width);
        QFETCH(QString, units);
        QFETCH(QString, message);
        RunResult r = Run({Csv(vxtest::CutLine(1, "EDGE", width.toStdString())), "/units", units.toStdString()});
        QCOMPARE(r.exitCode, 4);
        QVERIFY2(Contains(r.err, "The data in column 5 " + message.toStdString()), r.err.c_str());
    }

    void controlCharactersInAnEchoedRow()
    {
        RunResult r = Run({Csv(vxtest::CutLine(1, "RED\x1B[31m", "abc")), "/log", m_box->file("vx.log")});
        QCOMPARE(r.exitCode, 4);
        for (const std::string& text : {r.err, vxtest::ReadFile(m_box->file("vx.log"))}) {
            QVERIFY2(Contains(text, "The row contains: 1,RED\\x1B[31m,OAK"), text.c_str());
            QVERIFY(!Contains(text, "\x1B"));
        }
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
};

QTEST_GUILESS_MAIN(TestFileSafety)
#include "tst_FileSafety.moc"
