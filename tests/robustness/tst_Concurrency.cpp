// Conversions at the same time against one runtime folder: eight console conversions of
// different files all succeed with exactly their own rows, and a conversion held open in
// the program (as the convert screen holds it) makes a console conversion wait without
// either corrupting the other. A wait that runs out is checked with the command-line tests.
#include "RobustnessTools.h"

#include "config/modCLTSettings.h"
#include "convert/ConversionSession.h"
#include "start/ProgramState.h"

#include <QtTest>

#include <filesystem>
#include <memory>

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

} // namespace

class TestConcurrency : public QObject {
    Q_OBJECT

    std::unique_ptr<vxtest::RuntimeSandbox> m_sandbox;

private slots:
    void init() { m_sandbox = std::make_unique<vxtest::RuntimeSandbox>(); }
    void cleanup() { m_sandbox.reset(); }

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
        QVERIFY(!std::filesystem::exists(m_sandbox->file("console.rdb")));

        std::string screenRdb = m_sandbox->file("screen.rdb");
        QVERIFY(session.AUTOCreateROPartsFile(screenRdb)); // the lock goes with the written rows
        QVERIFY(console->waitForFinished(120000));
        QVERIFY2(console->exitCode() == 0, console->readAllStandardError().constData());
        QCOMPARE(Parts(screenRdb), Expected("SCREEN PART ", 40));
        QCOMPARE(Parts(m_sandbox->file("console.rdb")), Expected("CONSOLE PART ", 25));
        session.Release();
    }
};

QTEST_GUILESS_MAIN(TestConcurrency)
#include "tst_Concurrency.moc"
