// Argument parsing of the command-line conversion and the lines RunCommandLine writes before
// any conversion starts (parse errors, help, unexpected errors, the /log transcript).
#include "TestSupport.h"

#include "config/RuntimeFiles.h"
#include "convert/WorkingDatabaseLock.h"
#include "start/Messages.h"
#include "start/ProgramState.h"
#include "start/modCLTCommandLine.h"

#include <QtTest>

#include <filesystem>

using namespace vx;

namespace {

std::vector<std::string> Tokens(const QStringList& list)
{
    std::vector<std::string> tokens;
    for (const QString& s : list)
        tokens.push_back(s.toStdString());
    return tokens;
}

// Runs RunCommandLine in this process with the tokens as argv[1..].
int Run(const std::vector<std::string>& tokens)
{
    std::vector<std::string> storage{"VXCLT"};
    storage.insert(storage.end(), tokens.begin(), tokens.end());
    std::vector<char*> argv;
    for (std::string& s : storage)
        argv.push_back(s.data());
    return RunCommandLine(static_cast<int>(argv.size()), argv.data());
}

using vxtest::Lines;

const std::string kUsageHint = "Run  VXCLT.exe /help  for usage.";

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    // Each row's outcome is either the parse error or the parsed options as
    // "input|output|skip|units|allowbad|help" ("-" for a switch not given).
    void parsing_data()
    {
        QTest::addColumn<QStringList>("tokens");
        QTest::addColumn<QString>("outcome");

        // Help in every spelling, winning over a missing input and over other switches.
        QTest::newRow("/?") << QStringList{"/?"} << "||-|-||help";
        QTest::newRow("--help") << QStringList{"--help"} << "||-|-||help";
        QTest::newRow("help inline value ignored") << QStringList{"/help:x"} << "||-|-||help";
        QTest::newRow("help with input") << QStringList{"/help", "/in", "x.csv"} << "x.csv||-|-||help";
        QTest::newRow("help does not hide a parse error")
            << QStringList{"/help", "/bogus"} << "error: Unknown switch '/bogus'.";

        // Positional arguments.
        QTest::newRow("one positional") << QStringList{"a.csv"} << "a.csv||-|-||";
        QTest::newRow("two positionals") << QStringList{"a.csv", "b.rdb"} << "a.csv|b.rdb|-|-||";
        QTest::newRow("third positional") << QStringList{"a.csv", "b.rdb", "c"} << "error: Unexpected argument 'c'.";
        QTest::newRow("negative number is a file") << QStringList{"-5"} << "-5||-|-||";
        QTest::newRow("absolute paths positional")
            << QStringList{"/home/a/job.csv", "/tmp/out.rdb"} << "/home/a/job.csv|/tmp/out.rdb|-|-||";
        QTest::newRow("lone slash positional") << QStringList{"/"} << "/||-|-||";
        // Not switches: a negative number, a lone dash, a double slash, a path with a colon later.
        QTest::newRow("numbers and paths positional")
            << QStringList{"-1e3", "/home/a:b/c.csv"} << "-1e3|/home/a:b/c.csv|-|-||";
        QTest::newRow("dash and double slash positional") << QStringList{"-", "//"} << "-|//|-|-||";
        QTest::newRow("/in replaces positional") << QStringList{"a.csv", "/in", "b.csv"} << "b.csv||-|-||";
        QTest::newRow("later switch wins") << QStringList{"/in", "a.csv", "/i", "b.csv"} << "b.csv||-|-||";

        // Switch names, prefixes and inline values.
        QTest::newRow("/in:") << QStringList{"/in:C:\\x\\a.csv"} << "C:\\x\\a.csv||-|-||";
        QTest::newRow("first separator splits") << QStringList{"/in=a:b=c"} << "a:b=c||-|-||";
        QTest::newRow("inline POSIX path") << QStringList{"/in:/home/a/job.csv"} << "/home/a/job.csv||-|-||";
        QTest::newRow("upper-case name keeps value case")
            << QStringList{"/IN", "A.CSV", "--OUTPUT", "B.RDB"} << "A.CSV|B.RDB|-|-||";
        QTest::newRow("value taken whatever it looks like") << QStringList{"/in", "/out"} << "/out||-|-||";
        QTest::newRow("/5 unknown") << QStringList{"/5"} << "error: Unknown switch '/5'.";
        QTest::newRow("unknown keeps prefix")
            << QStringList{"a.csv", "--Bogus=1"} << "error: Unknown switch '--Bogus=1'.";

        // Required values.
        QTest::newRow("/log last") << QStringList{"a.csv", "/log"} << "error: /log needs a value.";
        QTest::newRow("-o= empty") << QStringList{"a.csv", "-o="} << "error: /out needs a value.";
        QTest::newRow("/in at end") << QStringList{"/in"} << "error: /in needs a value.";
        QTest::newRow("no input") << QStringList{"/skip", "1"} << "error: No input file given. Use /in <file.csv>.";

        // /skip
        QTest::newRow("skip 2.0") << QStringList{"a.csv", "/skip", "2.0"} << "a.csv||2|-||";
        QTest::newRow("skip blanks and exponent") << QStringList{"a.csv", "/s= 1e2 "} << "a.csv||100|-||";
        QTest::newRow("skip -1") << QStringList{"a.csv", "/skip", "-1"}
                                 << "error: /skip needs a whole number of lines >= 0, got '-1'.";
        QTest::newRow("skip 1.5") << QStringList{"a.csv", "/skip", "1.5"}
                                  << "error: /skip needs a whole number of lines >= 0, got '1.5'.";
        QTest::newRow("skip x") << QStringList{"a.csv", "/skip", "x"}
                                << "error: /skip needs a whole number of lines, got 'x'.";

        // /units
        QTest::newRow("units MM2IN") << QStringList{"a.csv", "/units", "MM2IN"} << "a.csv||-|2||";
        QTest::newRow("units in2mm") << QStringList{"a.csv", "/u=in2mm"} << "a.csv||-|1||";
        QTest::newRow("units 2") << QStringList{"a.csv", "/units", "2"} << "a.csv||-|2||";
        QTest::newRow("units none") << QStringList{"a.csv", "/units", "None"} << "a.csv||-|0||";
        QTest::newRow("units cm") << QStringList{"a.csv", "/units", "cm"}
                                  << "error: /units must be none, in2mm or mm2in, got 'cm'.";

        // Flags ignore inline values.
        QTest::newRow("allowbad=no") << QStringList{"a.csv", "/allowbad=no"} << "a.csv||-|-|allowbad|";
        QTest::newRow("continue") << QStringList{"a.csv", "--continue"} << "a.csv||-|-|allowbad|";
    }
    void parsing()
    {
        QFETCH(QStringList, tokens);
        QFETCH(QString, outcome);
        std::string errorText;
        const bool ok = ParseArguments(Tokens(tokens), errorText);
        QCOMPARE(ok, errorText.empty());
        const CommandLineOptions& a = CommandLineArgs();
        const QString parsed = ok ? QStringList{QString::fromStdString(a.ArgInputPath),
                                                QString::fromStdString(a.ArgOutputPath),
                                                a.ArgSkipGiven ? QString::number(a.ArgSkipLines) : "-",
                                                a.ArgUnitsGiven ? QString::number(a.ArgUnits) : "-",
                                                a.ArgAllowBad ? "allowbad" : "",
                                                a.ArgHelp ? "help" : ""}
                                        .join('|')
                                  : "error: " + QString::fromStdString(errorText);
        QCOMPARE(parsed, outcome);
    }

    void parsingResetsEarlierOptions()
    {
        std::string error;
        QVERIFY(ParseArguments(Tokens({"a.csv", "b.rdb", "/skip", "3", "/allowbad"}), error));
        QVERIFY(ParseArguments(Tokens({"c.csv"}), error));
        QCOMPARE(CommandLineArgs().ArgOutputPath, std::string());
        QVERIFY(!CommandLineArgs().ArgSkipGiven);
        QVERIFY(!CommandLineArgs().ArgAllowBad);
    }
    // A conversion that finds the runtime folder busy past the wait fails clearly, code 6,
    // and writes nothing.
    void busyRuntimeFolder()
    {
        vxtest::RuntimeSandbox sandbox;
        std::string csv = sandbox.writeFile("job.csv", vxtest::ReadFile(vxtest::SourceDir() + "/examples/cutlist.csv"));
        int oldWait = WorkingDatabaseLock::WaitMilliseconds();
        WorkingDatabaseLock::SetWaitMilliseconds(200);
        {
            WorkingDatabaseLock other(sandbox.runtimeFolder());
            QCOMPARE(Run({csv}), 6);
        }
        WorkingDatabaseLock::SetWaitMilliseconds(oldWait);
        QCOMPARE(sandbox.err.back(), "ERROR: Unexpected error 3260: Another conversion is using the runtime folder's "
                                     "working databases (" +
                                         sandbox.runtimeFolder() + "). Try again when it has finished.");
        QVERIFY(!std::filesystem::exists(sandbox.file("job.rdb")));
    }

    void helpWritesUsage()
    {
        vxtest::RuntimeSandbox sandbox;
        QCOMPARE(Run({"/help", "/in", "x.csv"}), 0);
        QVERIFY(sandbox.err.empty());
        const auto& out = sandbox.out;
        QCOMPARE(out.front(), std::string("Veltrax Cutlister V7.5.0 - command-line mode"));
        QCOMPARE(out.back(), std::string("  VXCLT.exe /in job.csv /units in2mm /allowbad /log C:\\Jobs\\vxclt.log"));
        // The settings line names this installation's real configuration database.
        std::string settingsLine = "    " + sandbox.defDatabase() + ".";
        QVERIFY(std::find(out.begin(), out.end(), settingsLine) != out.end());
        for (const std::string& line : out)
            QVERIFY2(line.find("Windows") == std::string::npos && line.find("C:\\Rerez") == std::string::npos,
                     line.c_str());
        QVERIFY(std::find(out.begin(), out.end(),
                          "  6  Unexpected error, or an error was reported during the "
                          "conversion.") != out.end());
    }

    // The log takes effect where /log stands: a bad switch after it is logged, one before it
    // stops parsing before the log is known.
    void logBeforeAndAfterBadSwitch()
    {
        vxtest::RuntimeSandbox sandbox;
        std::string before = sandbox.file("before.log");
        std::string after = sandbox.file("after.log");
        QCOMPARE(Run({"a.csv", "/log", before, "/5"}), 1);
        QCOMPARE(Lines(vxtest::ReadFile(before)),
                 (std::vector<std::string>{"ERROR: Unknown switch '/5'.", kUsageHint}));
        QCOMPARE(Run({"a.csv", "/5", "/log", after}), 1);
        QVERIFY(!std::filesystem::exists(after));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
