// Command-line parsing and what RunCommandLine writes before converting: help, busy folder, /log.
#include "TestSupport.h"

#include "convert/WorkingDatabaseLock.h"
#include "start/ProgramState.h"
#include "start/modCLTCommandLine.h"

#include <QElapsedTimer>
#include <QtTest>

#include <filesystem>

using namespace vx;

using Tokens = std::vector<std::string>;

// Runs RunCommandLine in this process with the tokens as argv[1..].
static int Run(Tokens tokens)
{
    tokens.insert(tokens.begin(), "VXCLT");
    std::vector<char*> argv;
    for (std::string& s : tokens)
        argv.push_back(s.data());
    return RunCommandLine(static_cast<int>(argv.size()), argv.data());
}

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
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
        vxtest::RuntimeSandbox sandbox;
        std::string csv = sandbox.writeFile("job.csv", vxtest::ReadFile(vxtest::SourceDir() + "/examples/cutlist.csv"));
        int oldWait = WorkingDatabaseLock::WaitMilliseconds();
        WorkingDatabaseLock::SetWaitMilliseconds(200);
        {
            WorkingDatabaseLock other(sandbox.runtimeFolder());
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(Run({csv}), 6);
            QVERIFY(timer.elapsed() >= 150); // it waited for the other one first
        }
        WorkingDatabaseLock::SetWaitMilliseconds(oldWait);
        QCOMPARE(sandbox.err.back(), "ERROR: Unexpected error 3260: Another conversion is using the runtime folder's "
                                     "working databases (" +
                                         sandbox.runtimeFolder() + "). Try again when it has finished.");
        QVERIFY(!std::filesystem::exists(sandbox.file("job.rdb")));
    }

    // The log starts where /log stands: a bad switch after it is logged, one before it is not.
    void logBeforeAndAfterBadSwitch()
    {
        vxtest::RuntimeSandbox sandbox;
        std::string before = sandbox.file("before.log"), after = sandbox.file("after.log");
        QCOMPARE(Run({"a.csv", "/log", before, "/5"}), 1);
        QCOMPARE(vxtest::Lines(vxtest::ReadFile(before)),
                 (std::vector<std::string>{"ERROR: Unknown switch '/5'.", "Run  VXCLT.exe /help  for usage."}));
        QCOMPARE(Run({"a.csv", "/5", "/log", after}), 1);
        QVERIFY(!std::filesystem::exists(after));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
