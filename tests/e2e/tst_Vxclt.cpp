// The command line: its parsing and the busy runtime folder, in this process; then the
// built VXCLT run as a separate process against a temporary runtime folder: exit codes 0
// to 6 with their exact lines, the parts file written (read back with SQLite), and the
// /log transcript.
#include "TestSupport.h"

#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "convert/WorkingDatabaseLock.h"
#include "start/modCLTCommandLine.h"

#include <QElapsedTimer>
#include <QtTest>

#include <filesystem>

using namespace vx;
using vxtest::Replaced;
using vxtest::RunResult;

namespace {

const std::string kHeader = "Seq,Part,Material,Thick,Width,Length,Qty,Scribes,Cabinet,Edge\r\n";
const std::string kGoodRows = "1,E2E SIDE,E2E OAK,0.75,1,30,2,,C1,1L\r\n"
                              "2,E2E TOP,E2E OAK,0.75,12.5,20,1,,C1,\r\n";
const std::string kBadRow = "3,E2E SHELF,E2E OAK,0.75,abc,20,1,,C1,\r\n";

using vxtest::Lines;
using Tokens = std::vector<std::string>;

// Runs RunCommandLine in this process with the tokens as argv[1..].
int RunInProcess(Tokens tokens)
{
    tokens.insert(tokens.begin(), "VXCLT");
    std::vector<char*> argv;
    for (std::string& s : tokens)
        argv.push_back(s.data());
    return RunCommandLine(static_cast<int>(argv.size()), argv.data());
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// Every file under root with its size and modification time: what a run left changed.
std::vector<std::string> Tree(const std::string& root)
{
    std::vector<std::string> tree;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        tree.push_back(e.path().string() + " " + std::to_string(e.is_regular_file() ? e.file_size() : 0) + " " +
                       std::to_string(e.last_write_time().time_since_epoch().count()));
    std::sort(tree.begin(), tree.end());
    return tree;
}

// A watcher's line without its "2026-12-10 08:15:02 " time.
std::string Untimed(const std::string& line) { return line.size() > 20 && line[4] == '-' ? line.substr(20) : line; }

const std::string kRejectedRows =
    "ERROR: One or more rows contained invalid data. Nothing was written. Use /allowbad to write the valid rows "
    "anyway.";
const std::string kSkippedRows = "WARNING: One or more rows contained invalid data and were skipped (/allowbad).";

} // namespace

class TestVxclt : public QObject {
    Q_OBJECT

    std::unique_ptr<vxtest::RuntimeSandbox> m_sandbox;

    RunResult Run(const std::vector<std::string>& args) { return vxtest::RunVxclt(args, m_sandbox->root()); }
    std::string Csv(const std::string& rows) { return m_sandbox->writeFile("job.csv", kHeader + rows); }
    std::string Rdb() const { return m_sandbox->file("job.rdb"); }
    std::string Hot(const std::string& name = "") const
    {
        return m_sandbox->file("hot") + (name.empty() ? "" : "/") + name;
    }
    RunResult WatchOnce() { return Run({"/watch", Hot(), "/once", "/settle", "0"}); }
    std::unique_ptr<QProcess> StartWatch(const char* settle)
    {
        auto watcher = vxtest::StartVxclt({"/watch", Hot(), "/settle", settle}, m_sandbox->root());
        watcher->waitForReadyRead(10000); // its first line: it holds the lock and listens
        return watcher;
    }

    std::vector<std::string> ExpectedHeader(const std::string& in, const std::string& out, const std::string& skip,
                                            const std::string& units, bool allowBad) const
    {
        return {"VXCLT V7.5.0 command-line conversion",
                "  Input:      " + in,
                "  Output:     " + out,
                "  Skip lines: " + skip,
                "  Units:      " + units,
                std::string("  Bad rows:   ") + (allowBad ? "skip and continue" : "fail the conversion"),
                "Checking parts file mapping..."};
    }

private slots:
    void init() { m_sandbox = std::make_unique<vxtest::RuntimeSandbox>(); }
    void cleanup() { m_sandbox.reset(); }

    // ---- In this process ----

    // Each row: the parse error or "input|output|skip|units|allowbad|help" ("-": switch not given).
    void parsing_data()
    {
        QTest::addColumn<Tokens>("tokens");
        QTest::addColumn<QString>("outcome");
        auto row = [](const char* name, const Tokens& tokens, const char* outcome) {
            QTest::newRow(name) << tokens << outcome;
        };
        row("help", {"/?"}, "||-|-||help");
        row("help with input", {"/help", "/in", "x.csv"}, "x.csv||-|-||help");
        row("help does not hide a parse error", {"/help", "/bogus"}, "error: Unknown switch '/bogus'.");
        row("third positional", {"a.csv", "b.rdb", "c"}, "error: Unexpected argument 'c'.");
        // Not switches: a number, a path with a colon after a slash, a lone or double slash.
        row("number and path positional", {"-1e3", "/home/a:b/c.csv"}, "-1e3|/home/a:b/c.csv|-|-||");
        row("slashes positional", {"/", "//"}, "/|//|-|-||");
        row("/in replaces positional", {"a.csv", "/in", "b.csv"}, "b.csv||-|-||");
        row("first separator splits", {"/in=a:b=c"}, "a:b=c||-|-||");
        row("inline POSIX path", {"/in:/home/a/job.csv"}, "/home/a/job.csv||-|-||");
        row("upper-case name keeps value case", {"/IN", "A.CSV", "--OUTPUT", "B.RDB"}, "A.CSV|B.RDB|-|-||");
        row("value taken whatever it looks like", {"/in", "/out"}, "/out||-|-||");
        row("unknown keeps prefix", {"a.csv", "--Bogus=1"}, "error: Unknown switch '--Bogus=1'.");
        row("/log last", {"a.csv", "/log"}, "error: /log needs a value.");
        row("-o= empty", {"a.csv", "-o="}, "error: /out needs a value.");
        row("no input", {"/skip", "1"}, "error: No input file given. Use /in <file.csv>.");
        row("skip blanks and exponent, units in2mm", {"a.csv", "/s= 1e2 ", "/u=in2mm"}, "a.csv||100|1||");
        row("skip -1", {"a.csv", "/skip", "-1"}, "error: /skip needs a whole number of lines >= 0, got '-1'.");
        row("skip 1.5", {"a.csv", "/skip", "1.5"}, "error: /skip needs a whole number of lines >= 0, got '1.5'.");
        row("skip x", {"a.csv", "/skip", "x"}, "error: /skip needs a whole number of lines, got 'x'.");
        row("units MM2IN", {"a.csv", "/units", "MM2IN"}, "a.csv||-|2||");
        row("units 2", {"a.csv", "/units", "2"}, "a.csv||-|2||");
        row("units cm", {"a.csv", "/units", "cm"}, "error: /units must be none, in2mm or mm2in, got 'cm'.");
        row("flag ignores inline value, units none", {"a.csv", "/allowbad=no", "/units", "None"},
            "a.csv||-|0|allowbad|");
        row("check takes the input", {"/check", "a.csv", "b.rdb"}, "a.csv|b.rdb|-|-|||check");
        row("watch, its output folder, once, settle", {"/watch", "hot", "/out", "o", "/once", "/settle", ".5"},
            "|o|-|-|||watch hot once 0.5");
        row("watch takes no input file", {"a.csv", "/watch", "hot"},
            "error: /watch converts the cut lists of its folder; unexpected input file 'a.csv'.");
        row("check and watch", {"/check", "a.csv", "/watch", "hot"},
            "error: /check and /watch cannot be used together.");
        row("once without watch", {"a.csv", "/once"}, "error: /once is used with /watch <folder>.");
        row("settle below 0", {"/watch", "hot", "/settle", "-1"},
            "error: /settle needs a number of seconds from 0 to 86400, got '-1'.");
    }
    void parsing()
    {
        QFETCH(Tokens, tokens);
        QFETCH(QString, outcome);
        std::string error;
        // Every option set first, so one an earlier parse left behind shows.
        QVERIFY(ParseArguments({"x", "y", "/skip", "3", "/units", "1", "/allowbad", "/help"}, error));
        const bool ok = ParseArguments(tokens, error);
        QCOMPARE(ok, error.empty());
        const CommandLineOptions& a = CommandLineArgs();
        auto given = [](bool given, int n) { return given ? std::to_string(n) : std::string("-"); };
        QCOMPARE(QString::fromStdString(
                     ok ? a.ArgInputPath + "|" + a.ArgOutputPath + "|" + given(a.ArgSkipGiven, a.ArgSkipLines) + "|" +
                              given(a.ArgUnitsGiven, a.ArgUnits) + (a.ArgAllowBad ? "|allowbad|" : "||") +
                              (a.ArgHelp ? "help" : "") + (a.ArgCheck ? "|check" : "") +
                              (a.ArgWatchFolder.empty() ? ""
                                                        : "|watch " + a.ArgWatchFolder + (a.ArgOnce ? " once " : " ") +
                                                              FormatNumber(a.ArgSettleSeconds))
                        : "error: " + error),
                 outcome);
    }

    // A runtime folder busy past the wait fails the conversion clearly, code 6, writing nothing.
    void busyRuntimeFolder()
    {
        std::string csv =
            m_sandbox->writeFile("job.csv", vxtest::ReadFile(vxtest::SourceDir() + "/examples/cutlist.csv"));
        int oldWait = WorkingDatabaseLock::WaitMilliseconds();
        WorkingDatabaseLock::SetWaitMilliseconds(200);
        {
            WorkingDatabaseLock other(m_sandbox->runtimeFolder());
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(RunInProcess({csv}), 6);
            QVERIFY(timer.elapsed() >= 150); // it waited for the other one first
        }
        WorkingDatabaseLock::SetWaitMilliseconds(oldWait);
        QCOMPARE(m_sandbox->err.back(),
                 "ERROR: Unexpected error 3260: Another conversion is using the runtime folder's "
                 "working databases (" +
                     m_sandbox->runtimeFolder() + "). Try again when it has finished.");
        QVERIFY(!std::filesystem::exists(m_sandbox->file("job.rdb")));
    }

    // ---- Success ----

    void convertsTheExampleCutList()
    {
        std::string csv =
            m_sandbox->writeFile("cutlist.csv", vxtest::ReadFile(vxtest::SourceDir() + "/examples/cutlist.csv"));
        RunResult r = Run({csv});
        QCOMPARE(r.err, std::string());
        QCOMPARE(r.exitCode, 0);
        std::string rdb = m_sandbox->file("cutlist.rdb");
        QCOMPARE(Lines(r.out).back(), "Done: " + rdb);
        QVERIFY(std::stoi(vxtest::QueryScalar(rdb, "SELECT COUNT(*) FROM tblParts")) > 0);
    }

    void writesConvertedRowsWithOneOffOverrides()
    {
        std::string csv = Csv(kGoodRows);
        std::string rdb = m_sandbox->file("out.rdb");
        RunResult r = Run({"/in=" + csv, rdb, "/skip", "1", "/units", "in2mm"});
        QCOMPARE(r.err, std::string());
        QCOMPARE(r.exitCode, 0);
        auto expected = ExpectedHeader(csv, rdb, "1", "in2mm (inches to millimetres)", false);
        expected.insert(expected.end(), {"Reading parts file...", "Writing Veltrax parts file...", "Done: " + rdb});
        QCOMPARE(Lines(r.out), expected);

        QCOMPARE(vxtest::QueryColumn(rdb, "SELECT Part || '|' || Width || '|' || Length || '|' || Quantity FROM "
                                          "tblParts ORDER BY SEQ_NUM"),
                 (std::vector<std::string>{"E2E SIDE|25.4|762.0|2", "E2E TOP|317.5|508.0|1"}));
        // The overrides are not saved; the new part names and material are learned.
        QCOMPARE(vxtest::QueryScalar(m_sandbox->defDatabase(),
                                     "SELECT (SELECT SettingValue FROM tblSettings WHERE SettingName = "
                                     "'ConvertLengthType') || (SELECT COUNT(*) FROM tblPartsCriteria WHERE Part IN "
                                     "('E2E SIDE', 'E2E TOP')) || (SELECT COUNT(*) FROM tblMaterials WHERE Material = "
                                     "'E2E OAK')"),
                 "021");
    }

    // Each reading option once: the setup, the part's row and its Width|Length|Thickness.
    void readingOptions_data()
    {
        QTest::addColumn<QString>("setupSql");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("stored");
        QTest::newRow("all dimensions in one cell")
            << "UPDATE tblPartsFileMapping SET PF_Col = CASE MainName WHEN 'DIMENSIONS' THEN 5 ELSE 0 END WHERE "
               "MainName IN ('DIMENSIONS', 'WIDTH', 'LENGTH', 'THICKNESS')"
            << "1,E2E SIDE,E2E OAK,,30\u00D712 x 0.75,,2,,C1,"
            << "12.0|30.0|0.75";
        QTest::newRow("sorted by size") << "UPDATE tblSettings SET SettingValue = '1' WHERE SettingName = "
                                           "'SortDimensions'"
                                        << "1,E2E SIDE,E2E OAK,30,0.75,12,2,,C1,"
                                        << "12.0|30.0|0.75";
        QTest::newRow("feet and inches")
            << "UPDATE tblSettings SET SettingValue = '1' WHERE SettingName IN ('LengthsWithUnits', 'FeetAndInches')"
            << "1,E2E SIDE,E2E OAK,0.75,1' 6\",2 ft 6 in,2,,C1,"
            << "18.0|30.0|0.75";
    }
    void readingOptions()
    {
        QFETCH(QString, setupSql);
        QFETCH(QString, row);
        QFETCH(QString, stored);
        m_sandbox->execDef(setupSql.toStdString());
        RunResult r = Run({Csv(row.toStdString() + "\r\n"), "/skip", "1"});
        QCOMPARE(r.err, std::string());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(vxtest::QueryColumn(Rdb(), "SELECT Width || '|' || Length || '|' || Thickness FROM tblParts"),
                 std::vector<std::string>{stored.toStdString()});
    }

    // ---- Failures before and during the conversion: code, exact standard error, no file ----

    void failures_data()
    {
        QTest::addColumn<QString>("setupSql"); // run against the runtime CLTDef.mdb first
        QTest::addColumn<QStringList>("args"); // {dir} is the sandbox folder
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("err"); // exact lines; {dir} and {runtime} replaced

        QTest::newRow("missing input") << "" << QStringList{"{dir}/none.csv"} << 3
                                       << QStringList{"ERROR: Input file not found: {dir}/none.csv"};
        QTest::newRow("input is a folder")
            << "" << QStringList{"{dir}"} << 3 << QStringList{"ERROR: Input file not found: {dir}"};
        QTest::newRow("missing input checked before same file")
            << "" << QStringList{"{dir}/none.csv", "{dir}/NONE.CSV"} << 3
            << QStringList{"ERROR: Input file not found: {dir}/none.csv"};
        QTest::newRow("same file ignoring case") << "" << QStringList{"{dir}/job.csv", "{dir}/JOB.csv"} << 1
                                                 << QStringList{"ERROR: Input and output are the same file."};
        QTest::newRow("output folder missing") << "" << QStringList{"{dir}/job.csv", "/out:{dir}/nowhere/job.rdb"} << 5
                                               << QStringList{"ERROR: Output folder does not exist: {dir}/nowhere"};
        QTest::newRow("output folder is a file") << "" << QStringList{"{dir}/job.csv", "{dir}/job.csv/out.rdb"} << 5
                                                 << QStringList{"ERROR: Output folder does not exist: {dir}/job.csv"};
        QTest::newRow("bad switch") << "" << QStringList{"{dir}/job.csv", "/units", "cm"} << 1
                                    << QStringList{"ERROR: /units must be none, in2mm or mm2in, got 'cm'.",
                                                   "Run  VXCLT.exe /help  for usage."};
        QTest::newRow("skip overflow") << "" << QStringList{"{dir}/job.csv", "/skip", "1e10"} << 6
                                       << QStringList{"ERROR: Unexpected error 6: Overflow"};
        QTest::newRow("old configuration")
            << "ALTER TABLE tblPartsCriteria DROP COLUMN Switch_Dims" << QStringList{"{dir}/job.csv"} << 2
            << QStringList{"ERROR: {runtime}/CLTDef.mdb is from an older version of the Cutlister and cannot be used "
                           "by this program.",
                           "       Its tblPartsCriteria table is missing the Switch_Dims and/or Reverse_Scribes "
                           "column."};
        QTest::newRow("incomplete mapping")
            << "UPDATE tblPartsFileMapping SET PF_Col = 0, RequiredField = 1 WHERE MainName = 'WIDTH'"
            << QStringList{"{dir}/job.csv"} << 2
            << QStringList{"  THERE ARE ERRORS IN THE PARTS FILE MAPPING",
                           "  You must select a column for DB Name: WIDTH, Display Label: WIDTH, This is a required "
                           "field.",
                           "ERROR: The parts file mapping is incomplete. Start VXCLT normally and use 'Map Your Comma "
                           "Delimited Parts File'."};
        QTest::newRow("dimensions beside a thickness column")
            << "UPDATE tblPartsFileMapping SET PF_Col = CASE MainName WHEN 'DIMENSIONS' THEN 5 ELSE 0 END WHERE "
               "MainName IN ('DIMENSIONS', 'WIDTH', 'LENGTH')"
            << QStringList{"{dir}/job.csv"} << 2
            << QStringList{"  THERE ARE ERRORS IN THE PARTS FILE MAPPING",
                           "  DB Name: THICKNESS, Display Label: THICKNESS can not have a column of its own while DB "
                           "Name: DIMENSIONS, Display Label: DIMENSIONS holds length \u00D7 width \u00D7 thickness. "
                           "Map either DIMENSIONS or separate columns.",
                           "ERROR: The parts file mapping is incomplete. Start VXCLT normally and use 'Map Your Comma "
                           "Delimited Parts File'."};
    }
    void failures()
    {
        QFETCH(QString, setupSql);
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QStringList, err);
        Csv(kGoodRows);
        if (!setupSql.isEmpty())
            m_sandbox->execDef(setupSql.toStdString());
        auto expand = [&](const QString& s) {
            return Replaced(Replaced(s.toStdString(), "{dir}", m_sandbox->root()), "{runtime}",
                            m_sandbox->runtimeFolder());
        };
        std::vector<std::string> argv, expected;
        for (const QString& a : args)
            argv.push_back(expand(a));
        for (const QString& e : err)
            expected.push_back(expand(e));

        RunResult r = Run(argv);
        QCOMPARE(Lines(r.err), expected);
        QCOMPARE(r.exitCode, code);
        QVERIFY(!Exists(Rdb()));
    }

    // ---- Rejected rows ----

    // Without /allowbad nothing is written; with it the valid rows are, unless every row is
    // rejected: then applying the criteria to no parts issues a message, and any message
    // during reading stops the conversion. Each row: the rows, /allowbad, the code and
    // standard error, "..." standing for the indented report of the rejected row.
    void rejectedRows_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<bool>("allowBad");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("err");
        const QString skipped = QString::fromStdString(kSkippedRows);
        const QString goodAndBad = QString::fromStdString(kGoodRows + kBadRow);
        QTest::newRow("fail without /allowbad")
            << goodAndBad << false << 4 << QStringList{"...", QString::fromStdString(kRejectedRows)};
        QTest::newRow("skipped with /allowbad") << goodAndBad << true << 0 << QStringList{"...", skipped};
        QTest::newRow("every row rejected")
            << QString::fromStdString(kBadRow) << true << 6
            << QStringList{"There are no parts.", "...", skipped,
                           "ERROR: An error was reported while reading the parts file (see above). Nothing was "
                           "written."};
    }
    void rejectedRows()
    {
        QFETCH(QString, rows);
        QFETCH(bool, allowBad);
        QFETCH(int, code);
        QFETCH(QStringList, err);
        std::vector<std::string> args{Csv(rows.toStdString())};
        if (allowBad)
            args.push_back("/allowbad");
        RunResult r = Run(args);
        QCOMPARE(r.exitCode, code);
        const QStringList lines = vxtest::ToList(Lines(r.err));
        const qsizetype head = err.indexOf("..."), tail = err.size() - head - 1, report = lines.size() - head - tail;
        QVERIFY(report > 1);
        QCOMPARE(lines.first(head) + QStringList{"..."} + lines.last(tail), err);
        for (const QString& line : lines.mid(head, report))
            QVERIFY2(line.startsWith("  ") && line.size() > 2, qPrintable(line));
        QVERIFY(r.err.find("E2E SHELF") != std::string::npos);
        QCOMPARE(r.out.find("Writing") != std::string::npos, code == 0);
        QCOMPARE(Exists(Rdb()), code == 0);
        if (code == 0)
            QCOMPARE(vxtest::QueryColumn(Rdb(), "SELECT Part FROM tblParts ORDER BY SEQ_NUM"),
                     (std::vector<std::string>{"E2E SIDE", "E2E TOP"}));
    }

    // ---- Transcript and run mode ----

    void logHoldsTheWholeTranscript()
    {
        std::string log = m_sandbox->file("run.log");
        std::string csv = Csv(kGoodRows + kBadRow);
        RunResult r = Run({"/log", log, csv});
        QCOMPARE(r.exitCode, 4);
        std::vector<std::string> transcript = Lines(r.out);
        for (const std::string& line : Lines(r.err))
            transcript.push_back(line);
        QCOMPARE(Lines(vxtest::ReadFile(log)), transcript);

        // A second run appends.
        Run({"/log", log, csv});
        QCOMPARE(Lines(vxtest::ReadFile(log)).size(), transcript.size() * 2);
    }

    void helpNeedsNoDisplay()
    {
        RunResult r = vxtest::RunProgram("/usr/bin/env",
                                         {"-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                                          vxtest::BinDir() + "/VXCLT", "/help", "/in", "x.csv"},
                                         m_sandbox->root());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, std::string());
        // The whole usage, naming this installation's database and no Windows folder.
        const std::vector<std::string> out = Lines(r.out);
        QCOMPARE(out.front(), "Veltrax Cutlister V7.5.0 - command-line mode");
        // The check and the hot folder are added after the conversion's text, which ends as before.
        auto added = std::find(out.begin(), out.end(), "CHECKING AND HOT FOLDERS");
        QVERIFY(added - out.begin() > 2);
        QCOMPARE(*(added - 2), "  VXCLT.exe /in job.csv /units in2mm /allowbad /log C:\\Jobs\\vxclt.log");
        QVERIFY(std::find(out.begin(), out.end(), "    " + m_sandbox->defDatabase() + ".") != out.end());
        for (const std::string& line : out)
            QVERIFY2(!vxtest::Contains(line, "Windows") && !vxtest::Contains(line, "C:\\Rerez"), line.c_str());
    }

    // Without arguments the executable starts the windowed program from its module: without
    // a display that says so; without the module beside the executable, that.
    void windowedProgramStartsFromItsModule_data()
    {
        QTest::addColumn<bool>("moduleThere");
        QTest::addColumn<QString>("message");
        QTest::newRow("no display") << true << "VXCLT: the windowed program needs a display, and none is available";
        QTest::newRow("no module") << false << "The windowed program could not be started: ";
    }
    void windowedProgramStartsFromItsModule()
    {
        QFETCH(bool, moduleThere);
        QFETCH(QString, message);
        std::string exe = vxtest::BinDir() + "/VXCLT";
        if (!moduleThere) {
            std::filesystem::create_directories(m_sandbox->file("alone"));
            std::filesystem::copy_file(exe, m_sandbox->file("alone/VXCLT"));
            exe = m_sandbox->file("alone/VXCLT");
        }
        RunResult r = vxtest::RunProgram(
            "/usr/bin/env", {"-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", exe}, m_sandbox->root());
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.rfind(message.toStdString(), 0) == 0, r.err.c_str());
    }

    // ---- The check: the conversion's report and exit code, and not one byte written ----

    void checkWritesNothing_data()
    {
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("summary"); // standard output after "Reading parts file..."
        const QString good = QString::fromStdString(kHeader + kGoodRows), bad = QString::fromStdString(kBadRow);
        const QStringList learned{"2 new part names: E2E SIDE, E2E TOP", "1 new material: E2E OAK"};
        const QStringList rejected = QStringList{"2 rows would be written, 1 rejected.",
                                                 "1 of 3 rows were rejected. Most frequent reason (1 row): The data "
                                                 "in column 5 for WIDTH can not be evaluated as a number."} +
                                     learned;
        QTest::newRow("good") << good << QStringList{} << 0
                              << QStringList{"2 rows would be written, 0 rejected."} + learned;
        QTest::newRow("bare LF, read as it is") << QString(good).replace("\r\n", "\n") << QStringList{"/units", "in2mm"}
                                                << 0 << QStringList{"2 rows would be written, 0 rejected."} + learned;
        QTest::newRow("bad row") << good + bad << QStringList{} << 4 << rejected;
        QTest::newRow("bad row, /allowbad") << good + bad << QStringList{"/allowbad"} << 0 << rejected;
        QTest::newRow("no data") << QString::fromStdString(kHeader) << QStringList{} << 3 << QStringList{};
    }
    void checkWritesNothing()
    {
        QFETCH(QString, bytes);
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QStringList, summary);
        const std::string csv = Csv(""), input = bytes.toStdString();
        m_sandbox->writeFile("job.csv", input);
        const std::string config = vxtest::ReadFile(m_sandbox->defDatabase());
        const std::vector<std::string> before = Tree(m_sandbox->root());
        std::vector<std::string> argv{"/check", csv};
        for (const QString& a : args)
            argv.push_back(a.toStdString());
        RunResult check = Run(argv);
        QCOMPARE(check.exitCode, code);
        std::vector<std::string> out = Lines(check.out);
        auto read = std::find(out.begin(), out.end(), "Reading parts file...");
        QVERIFY(read != out.end());
        QCOMPARE(vxtest::ToList({read + 1, out.end()}), summary);
        QCOMPARE(vxtest::ReadFile(csv), input);
        QCOMPARE(vxtest::ReadFile(m_sandbox->defDatabase()), config);
        QCOMPARE(Tree(m_sandbox->root()), before); // no parts, temporary or lock file; nothing touched

        // The conversion itself ends the same way, with the same report.
        argv.erase(argv.begin());
        RunResult conversion = Run(argv);
        QCOMPARE(conversion.exitCode, code);
        std::vector<std::string> err = Lines(conversion.err);
        std::erase(err, kRejectedRows);
        QCOMPARE(Lines(check.err), err);
    }

    // ---- The hot folder ----

    void watchFileLife()
    {
        const std::string good = kHeader + kGoodRows;
        std::filesystem::create_directories(Hot("done"));
        std::filesystem::create_directories(Hot("failed"));
        m_sandbox->writeFile("hot/done/good.csv", "an earlier file");
        m_sandbox->writeFile("hot/failed/bad.csv.log", "an earlier log");
        // Oldest first: the reverse of the names' order.
        auto age = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        for (const char* name : {"good.csv", "bad.csv", "UPPER.CSV", ".hidden.csv", "notes.txt"}) {
            m_sandbox->writeFile(std::string("hot/") + name, name == std::string("bad.csv") ? good + kBadRow : good);
            std::filesystem::last_write_time(Hot(name), age += std::chrono::minutes(1));
        }
        RunResult r = WatchOnce();
        QCOMPARE(r.exitCode, 4);
        std::vector<std::string> lines;
        for (const std::string& line : Lines(r.out))
            lines.push_back(Untimed(line));
        QCOMPARE(lines, (std::vector<std::string>{
                            "Watching " + Hot() + " for *.csv cut lists; parts files go to " + Hot("out") + ".",
                            "good.csv: 2 parts written to " + Hot("out/good.rdb"),
                            "bad.csv: failed (" + kRejectedRows.substr(7) + "), moved to failed/bad (2).csv",
                            "UPPER.CSV: 2 parts written to " + Hot("out/UPPER.rdb"),
                            "2 files converted, 1 moved to failed/."}));
        QCOMPARE(r.err, std::string());
        using Names = std::vector<std::string>;
        QCOMPARE(vxtest::FolderEntries(Hot()),
                 (Names{".hidden.csv", ".vxclt-watch.lock", "done", "failed", "notes.txt", "out"}));
        QCOMPARE(vxtest::FolderEntries(Hot("done")), (Names{"UPPER.CSV", "good (2).csv", "good.csv"}));
        QCOMPARE(vxtest::ReadFile(Hot("done/good.csv")), "an earlier file");
        QCOMPARE(vxtest::FolderEntries(Hot("failed")), (Names{"bad (2).csv", "bad (2).csv.log", "bad.csv.log"}));
        QCOMPARE(vxtest::ReadFile(Hot("failed/bad.csv.log")), "an earlier log");
        const Names log = Lines(vxtest::ReadFile(Hot("failed/bad (2).csv.log")));
        QCOMPARE(log.front(), "VXCLT V7.5.0 command-line conversion");
        QCOMPARE(log.back(), kRejectedRows);
        QVERIFY(std::find(log.begin(), log.end(), "  The row contains: 3,E2E SHELF,E2E OAK,0.75,abc,20,1,,C1,") !=
                log.end());
        QCOMPARE(vxtest::QueryScalar(Hot("out/UPPER.rdb"), "SELECT count(*) FROM tblParts"), "2");
    }

    // Each row: SQL run first, the cut list dropped (or none), the watch's switches ({hot} for
    // its folder), the exit code and the last line; the file stays unless it was converted.
    void watchOnceEndings_data()
    {
        QTest::addColumn<QString>("setupSql");
        QTest::addColumn<bool>("drop");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("last");
        const QStringList once{"/watch", "{hot}", "/once"};
        QTest::newRow("converted") << "" << true << once << 0 << "1 file converted, 0 moved to failed/.";
        QTest::newRow("empty folder") << "" << false << once << 0 << "0 files converted, 0 moved to failed/.";
        QTest::newRow("configuration cannot convert")
            << "UPDATE tblPartsFileMapping SET PF_Col = 0, RequiredField = 1 WHERE MainName = 'WIDTH'" << true << once
            << 2
            << "job.csv: not converted (The parts file mapping is incomplete. Start VXCLT normally and use 'Map Your "
               "Comma Delimited Parts File'.); the watch stops and the file stays in the folder.";
        QTest::newRow("no folder") << "" << false << QStringList{"/watch", "{hot}/none", "/once"} << 3
                                   << "ERROR: Folder not found: {hot}/none";
        QTest::newRow("no output folder") << "" << true << once + QStringList{"/out", "{hot}/none"} << 5
                                          << "ERROR: Output folder does not exist: {hot}/none";
    }
    void watchOnceEndings()
    {
        QFETCH(QString, setupSql);
        QFETCH(bool, drop);
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, last);
        std::filesystem::create_directories(Hot());
        if (drop)
            m_sandbox->writeFile("hot/job.csv", kHeader + kGoodRows);
        if (!setupSql.isEmpty())
            m_sandbox->execDef(setupSql.toStdString());
        std::vector<std::string> argv{"/settle", "0"};
        for (const QString& a : args)
            argv.push_back(Replaced(a.toStdString(), "{hot}", Hot()));
        RunResult r = Run(argv);
        QCOMPARE(r.exitCode, code);
        QCOMPARE(Untimed(Lines(r.out + r.err).back()), Replaced(last.toStdString(), "{hot}", Hot()));
        QCOMPARE(Exists(Hot("job.csv")), drop && code != 0);
    }

    // A cut list copied in slowly, in pieces that split its lines, is converted once, whole.
    void watchTakesAFileAfterItsLastPiece()
    {
        std::filesystem::create_directories(Hot());
        auto watcher = StartWatch("0.8");
        std::string text = kHeader;
        for (int i = 1; i <= 6; ++i)
            text += std::to_string(i) + ",E2E PART " + std::to_string(i) + ",E2E OAK,0.75,1,30,2,,C1,\r\n";
        const size_t piece = text.size() / 6 + 1;
        for (size_t at = 0; at < text.size(); at += piece) {
            std::FILE* f = std::fopen(Hot("slow.csv").c_str(), "ab");
            std::fwrite(text.data() + at, 1, std::min(piece, text.size() - at), f);
            std::fclose(f);
            QTest::qWait(300);
        }
        QTRY_VERIFY_WITH_TIMEOUT(Exists(Hot("done/slow.csv")), 15000);
        QCOMPARE(vxtest::QueryScalar(Hot("out/slow.rdb"), "SELECT count(*) FROM tblParts"), "6");
        QTest::qWait(300);
        watcher->terminate(); // idle again: a signal ends the watch at once, code 0
        QVERIFY(watcher->waitForFinished(10000));
        QCOMPARE(watcher->exitCode(), 0);
        const std::vector<std::string> out = Lines(watcher->readAllStandardOutput().toStdString());
        QCOMPARE(std::count_if(out.begin(), out.end(), [](const auto& l) { return vxtest::Contains(l, "slow.csv"); }),
                 1);
        QCOMPARE(Lines(watcher->readAllStandardError().toStdString()).back(),
                 "Watch of " + Hot() + " ended by SIGTERM.");
    }

    void oneWatcherPerFolder()
    {
        std::filesystem::create_directories(Hot());
        auto first = StartWatch("2");
        RunResult second = WatchOnce();
        QCOMPARE(second.exitCode, 3);
        QCOMPARE(Lines(second.err),
                 std::vector<std::string>{"ERROR: Another VXCLT is already watching " + Hot() + "."});
        first->kill(); // SIGKILL: the system lets go of the lock
        first->waitForFinished();
        QCOMPARE(WatchOnce().exitCode, 0);
    }

    // A watcher over 40 files stopped part-way by SIGKILL or SIGTERM, then a /once run: every
    // file converted exactly once into its own parts file, nothing half or temporary left.
    void watchStoppedPartWay_data()
    {
        QTest::addColumn<bool>("kill");
        QTest::addColumn<int>("delayMs");
        for (int delay : {100, 300, 600, 1000})
            QTest::addRow("SIGKILL after %d ms", delay) << true << delay;
        for (int delay : {300, 800})
            QTest::addRow("SIGTERM after %d ms", delay) << false << delay;
    }
    void watchStoppedPartWay()
    {
        QFETCH(bool, kill);
        QFETCH(int, delayMs);
        std::vector<std::string> sources, partsFiles;
        std::filesystem::create_directories(Hot());
        for (int i = 0; i < 40; ++i) {
            std::string name = "job" + std::to_string(100 + i);
            m_sandbox->writeFile("hot/" + name + ".csv", kHeader + kGoodRows);
            sources.push_back(name + ".csv");
            partsFiles.push_back(name + ".rdb");
        }
        auto watcher = vxtest::StartVxclt({"/watch", Hot(), "/settle", "0"}, m_sandbox->root());
        QTest::qWait(delayMs);
        kill ? watcher->kill() : watcher->terminate();
        QVERIFY(watcher->waitForFinished(10000));
        if (!kill)
            QCOMPARE(watcher->exitCode(), 0);
        QCOMPARE(WatchOnce().exitCode, 0);
        QCOMPARE(vxtest::FolderEntries(Hot("done")), sources);
        QCOMPARE(vxtest::FolderEntries(Hot("out")), partsFiles);
        QCOMPARE(vxtest::FolderEntries(Hot("failed")), std::vector<std::string>{});
        for (const std::string& parts : partsFiles)
            QCOMPARE(vxtest::QueryScalar(Hot("out/" + parts), "SELECT count(*) FROM tblParts"), "2");
    }
};

QTEST_GUILESS_MAIN(TestVxclt)
#include "tst_Vxclt.moc"
