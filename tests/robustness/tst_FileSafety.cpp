// A console conversion never harms a file: input, own databases, log, output, temporary
// files, stored values and echoed rows, also with hostile cut lists. Real files in a
// temporary folder (run as root here: a file's write bits, not root's override, decide).
#include "RobustnessTools.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <tuple>

namespace fs = std::filesystem;
using vxtest::Contains;
using vxtest::Replaced;
using vxtest::RunResult;

namespace {
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
        QCOMPARE(PartsIn(real), "4");
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

        std::unique_ptr<QProcess> started = vxtest::StartVxclt({Csv(200000), dir + "/job.rdb"}, m_box->root());
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
        vxtest::QueryScalar(m_box->templateDatabase(), "ALTER TABLE tblParts DROP COLUMN Width");
        RunResult r = Run({Csv()});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(Contains(r.err, "ERROR: The parts file template " + m_box->templateDatabase() +
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
        const std::string log = m_box->file("vx.log");
        std::vector<std::string> args = {
            m_box->writeFile("job.csv", content.toStdString()), Rdb(), "/units", units.toStdString(), "/log", log};
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
        QCOMPARE(r.err, std::string());
        QCOMPARE(vxtest::QueryScalar(Rdb(), "SELECT group_concat(h, '|') FROM (SELECT hex(Part) AS h FROM tblParts "
                                            "ORDER BY AutoIDNum)"),
                 partsHex.toStdString());
        // The configuration is whole: the SQL texts were data, nothing more.
        QCOMPARE(vxtest::QueryScalar(m_box->defDatabase(), "PRAGMA integrity_check"), "ok");
        QCOMPARE(vxtest::QueryScalar(m_box->defDatabase(),
                                     "SELECT COUNT(*) FROM tblSettings WHERE SettingName = 'MachineType'"),
                 "1");
    }

    void thousandsOfDistinctPartNames()
    {
        const int n = 5000;
        const std::string csv = m_box->writeFile("job.csv", vxtest::CutList("MANY NAME ", n)), rdb = Rdb();
        RunResult r = Run({csv, rdb});
        QCOMPARE(r.err, std::string());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(vxtest::QueryScalar(rdb, "SELECT COUNT(DISTINCT Part) FROM tblParts"), std::to_string(n));
        // Learned once; a second run learns nothing new.
        for (int run = 0; run < 2; ++run) {
            QCOMPARE(vxtest::QueryScalar(m_box->defDatabase(),
                                         "SELECT COUNT(*) FROM tblPartsCriteria WHERE Part LIKE 'MANY NAME %'"),
                     std::to_string(n));
            QCOMPARE(Run({csv, rdb}).exitCode, 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestFileSafety)
#include "tst_FileSafety.moc"
