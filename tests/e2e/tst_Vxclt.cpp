// The command line: its parsing and the busy runtime folder, in this process; then the
// built VXCLT run as a separate process against a temporary runtime folder: exit codes 0
// to 6 with their exact lines, the parts file written (read back with SQLite), and the
// /log transcript.
#include "TestSupport.h"

#include "convert/WorkingDatabaseLock.h"
#include "start/ProgramState.h"
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
        QCOMPARE(QString::fromStdString(ok ? a.ArgInputPath + "|" + a.ArgOutputPath + "|" +
                                                 given(a.ArgSkipGiven, a.ArgSkipLines) + "|" +
                                                 given(a.ArgUnitsGiven, a.ArgUnits) +
                                                 (a.ArgAllowBad ? "|allowbad|" : "||") + (a.ArgHelp ? "help" : "")
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
        QCOMPARE(out.back(), "  VXCLT.exe /in job.csv /units in2mm /allowbad /log C:\\Jobs\\vxclt.log");
        QVERIFY(std::find(out.begin(), out.end(), "    " + m_sandbox->defDatabase() + ".") != out.end());
        for (const std::string& line : out)
            QVERIFY2(!vxtest::Contains(line, "Windows") && !vxtest::Contains(line, "C:\\Rerez"), line.c_str());
    }
};

QTEST_GUILESS_MAIN(TestVxclt)
#include "tst_Vxclt.moc"
