// Reading the mapping screen's example file: line ends, blank lines, skipped lines, the
// plain split, field cleaning, files with nothing to show and stopping a long read.
#include "TestSupport.h"

#include "mapping/ExampleFile.h"
#include "screens/ErrorLog.h"

#include <QtTest>

using namespace vx;

namespace {

// Counts the reports; with stop set it stops the reading at its first report.
class CountingProgress : public Progress {
public:
    explicit CountingProgress(bool stop = false) : stop(stop) {}
    void start(const std::string&, int64_t total) override { totals.push_back(total); }
    bool update(int64_t) override { return ++updates, !stop; }
    bool stop;
    std::vector<int64_t> totals;
    int updates = 0;
};

} // namespace

class TestExampleFile : public QObject {
    Q_OBJECT

private slots:
    void linesOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("blank lines dropped")
            << QByteArray("\r\n  \r\na,b\r\n\r\nc,d\r\n   \r\n") << QStringList{"a,b", "c,d"};
        QTest::newRow("lines trimmed of spaces") << QByteArray("  a,b  \r\n") << QStringList{"a,b"};
        // Tabs are not blanks here: a tab-delimited line keeps its empty first and last fields.
        QTest::newRow("tabs kept") << QByteArray("\ta\t\r\n") << QStringList{"\ta\t"};
        QTest::newRow("mixed line ends") << QByteArray("ab\r\ncd\nef\rgh") << QStringList{"ab", "cd", "ef", "gh"};
        QTest::newRow("utf-8 mark ignored") << QByteArray("\xEF\xBB\xBF"
                                                          "a,b\n")
                                            << QStringList{"a,b"};
        // The conversion's short-line rule: under 2 characters besides commas and apostrophes.
        QTest::newRow("short lines dropped") << QByteArray(",,,\r\n'x',\r\na,b\r\n") << QStringList{"a,b"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        // A CR at the end of one 64 KiB chunk and its LF at the start of the next are one line end.
        QTest::newRow("line end split across chunks") << QByteArray(65535, 'x') + "\r\nnext\r\n"
                                                      << QStringList{QString(65535, 'x'), "next"};
    }
    void linesOfTheFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        vxtest::RuntimeSandbox box;
        std::string path = box.writeFile("example.csv", bytes.toStdString());
        std::vector<std::string> read;
        QVERIFY(ReadExampleLines(path, read, NoProgress()));
        QCOMPARE(vxtest::ToList(read), lines);
    }

    // Each row: {line, delimiter} and the cleaned fields.
    void fieldsAreSplitAndCleaned_data()
    {
        QTest::addColumn<QStringList>("split");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("comma") << QStringList{"1,SIDE,0.75", ","} << QStringList{"1", "SIDE", "0.75"};
        QTest::newRow("empty fields") << QStringList{",a,,", ","} << QStringList{"", "a", "", ""};
        QTest::newRow("quoted number") << QStringList{"\"12\",x", ","} << QStringList{"12", "x"};
        QTest::newRow("apostrophe blanked") << QStringList{"DON'T,x", ","} << QStringList{"DON T", "x"};
        QTest::newRow("delimiter in quotes splits") << QStringList{"\"A,B\",C", ","} << QStringList{"A", "B", "C"};
        QTest::newRow("fields trimmed") << QStringList{" a , b ", ","} << QStringList{"a", "b"};
        QTest::newRow("tab") << QStringList{"a\tb\t\tc", "\t"} << QStringList{"a", "b", "", "c"};
        QTest::newRow("several characters") << QStringList{"a::b::c", "::"} << QStringList{"a", "b", "c"};
        QTest::newRow("no delimiter keeps the line") << QStringList{"a,b", ""} << QStringList{"a,b"};
    }
    void fieldsAreSplitAndCleaned()
    {
        QFETCH(QStringList, split);
        QFETCH(QStringList, fields);
        std::vector<std::string> read = SplitAtDelimiter(split[0].toStdString(), split[1].toStdString());
        for (std::string& f : read)
            f = CleanExampleField(f);
        QCOMPARE(vxtest::ToList(read), fields);
    }

    void nothingToShow_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("skip");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QByteArray("\r\n  \r\n") << 0 << "NO DATA FOUND IN THE FILE: ";
        QTest::newRow("all skipped") << QByteArray("a,b\r\n") << 1
                                     << "NO DATA FOUND IN THE FILE AFTER THE FIRST 1 LINES ARE SKIPPED: ";
    }
    void nothingToShow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, skip);
        QFETCH(QString, message);
        vxtest::RuntimeSandbox box;
        vxtest::ScriptedPresenter presenter;
        std::string path = box.writeFile("e.csv", bytes.toStdString());
        ExampleTable table;
        bool isError = false;
        ParseTheCommaDelimitedPartsFile(path, ",", skip, table, isError);
        QVERIFY(isError);
        QCOMPARE(presenter.prompts.size(), size_t(1));
        QCOMPARE(presenter.prompts[0].text, message.toStdString() + path);
    }

    void longFileReportsProgressAndCanBeStopped()
    {
        vxtest::RuntimeSandbox box;
        std::string text;
        for (int i = 1; i <= 100000; ++i)
            text += std::to_string(i) + ",PART " + std::to_string(i) + ",MAPLE,0.75,10,20,1\r\n";
        std::string path = box.writeFile("long.csv", text);

        CountingProgress counting;
        ExampleTable table;
        bool isError = true;
        ParseTheCommaDelimitedPartsFile(path, ",", 0, table, isError, counting);
        QVERIFY(!isError);
        QCOMPARE(table.RowCount(), 100000);
        QCOMPARE(table.LineNumbers.back(), 100000);
        QVERIFY(counting.updates > 10);
        QCOMPARE(counting.totals.front(), static_cast<int64_t>(text.size()));

        CountingProgress stopping(true);
        ExampleTable kept;
        ParseTheCommaDelimitedPartsFile(path, ",", 0, kept, isError, stopping);
        QVERIFY(isError);
        QCOMPARE(kept.RowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestExampleFile)
#include "tst_ExampleFile.moc"
