// Cut lists that other software might export: huge lines, thousands of columns or names,
// NUL bytes (not text), invalid UTF-8, a byte-order mark, old Mac line ends, numbers at and beyond the
// edges, and names full of quotes and SQL. Each converts with the factory configuration to
// its written outcome, with no crash and no damage to the configuration.
#include "RobustnessTools.h"

#include <QtTest>

using vxtest::Contains;
using vxtest::Replaced;
using vxtest::RunResult;

namespace {

const std::string kRejected =
    "ERROR: One or more rows contained invalid data. Nothing was written. Use /allowbad to write the valid rows "
    "anyway.";

} // namespace

class TestHostileCutLists : public QObject {
    Q_OBJECT

    std::unique_ptr<vxtest::RuntimeSandbox> m_sandbox;

private slots:
    void init() { m_sandbox = std::make_unique<vxtest::RuntimeSandbox>(); }
    void cleanup() { m_sandbox.reset(); }

    void convert_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("stderrHolds");
        // hex(Part) of the written rows, in order, joined by "|" (checked when the code is 0).
        QTest::addColumn<QString>("partsHex");

        const std::string h = vxtest::kCutListHeader;
        auto row = [](const std::string& part, const std::string& width = "12", const std::string& qty = "1") {
            return vxtest::CutLine(1, part, width, qty);
        };
        auto hex = [](const std::string& s) { return QString(QByteArray::fromStdString(s).toHex().toUpper()); };
        auto add = [](const char* name, const std::string& bytes, int code, const std::string& err,
                      const QString& parts) {
            QTest::newRow(name) << QByteArray::fromStdString(bytes) << code << QString::fromStdString(err) << parts;
        };

        add("10 MB single line", h + std::string(10 << 20, 'x'), 4,
            "PART is mapped to column 2, but the column does not exist in this row.", "");
        add("10,000 columns", h + Replaced(row("WIDE"), "\r\n", "") + std::string(10000, ',') + "\r\n", 0, "",
            hex("WIDE"));
        add("NUL byte in a name", h + row(std::string("NUL\0NAME", 8)), 3, "is not a text file (it holds a NUL byte)",
            "");
        add("invalid UTF-8 in a name", h + row("BAD\xFF\xFE\xC0UTF"), 0, "", hex("BAD\xFF\xFE\xC0UTF"));
        add("UTF-8 byte-order mark before the first field", "\xEF\xBB\xBF" + row("BOM PART"), 0, "", hex("BOM PART"));
        add("CR-only line ends", Replaced(h + row("MAC ONE") + row("MAC TWO"), "\r\n", "\r"), 0, "",
            hex("MAC ONE") + "|" + hex("MAC TWO"));
        add("width 1e308", h + row("HUGE", "1e308"), 0, "", hex("HUGE"));
        add("width 1e309", h + row("BEYOND", "1e309"), 4,
            "The data in column 5 for WIDTH can not be evaluated as a number.", "");
        add("width -0", h + row("MINUS ZERO", "-0"), 4, "The data in column 5 for WIDTH must be > 0.", "");
        add("width NaN", h + row("NAN", "NaN"), 4, "The data in column 5 for WIDTH can not be evaluated as a number.",
            "");
        add("width inf", h + row("INF", "inf"), 4, "The data in column 5 for WIDTH can not be evaluated as a number.",
            "");
        add("width 0x10", h + row("HEX", "0x10"), 4, "The data in column 5 for WIDTH can not be evaluated as a number.",
            "");
        // The delimiter splits inside quotes: "1 goes to WIDTH (1) and 5" to LENGTH (5), the rest shifts on.
        add("width \"1,5\"", h + row("COMMA", "\"1,5\""), 0, "", hex("COMMA"));
        // The whole-number check overflows: its message, and the row is rejected.
        add("quantity 2^31", h + row("OVER", "12", "2147483648"), 4, "Error: 6, Overflow, ", "");
        add("quantity 2^31 - 1", h + row("MAX", "12", "2147483647"), 0, "", hex("MAX"));
        add("quotes, apostrophes, semicolons and SQL",
            h + row("\"Bob's\"; DROP TABLE tblParts;--") + row("x' OR '1'='1") + row("SELECT * FROM tblSettings"), 0,
            "", hex("Bobs; DROP TABLE tblParts;--") + "|" + hex("x OR 1=1") + "|" + hex("SELECT * FROM tblSettings"));
    }
    void convert()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, code);
        QFETCH(QString, stderrHolds);
        QFETCH(QString, partsHex);
        const bool noHeader = content.startsWith("\xEF\xBB\xBF");
        std::string csv = m_sandbox->writeFile("hostile.csv", content.toStdString());
        std::string rdb = m_sandbox->file("hostile.rdb");
        std::vector<std::string> args = {csv, rdb};
        if (noHeader)
            args.insert(args.end(), {"/skip", "0"});
        RunResult r = vxtest::RunVxclt(args, m_sandbox->root());
        qInfo("%s: exit %d; stderr: %.300s", QTest::currentDataTag(), r.exitCode, r.err.c_str());
        QCOMPARE(r.exitCode, code);
        QVERIFY2(Contains(r.err, stderrHolds.toStdString()), r.err.substr(0, 2000).c_str());
        if (code == 4)
            QVERIFY(Contains(r.err, kRejected));
        if (code != 0) {
            QVERIFY(!std::filesystem::exists(rdb));
            return;
        }
        QCOMPARE(r.err, std::string());
        auto parts = vxtest::QueryColumn(rdb, "SELECT hex(Part) FROM tblParts ORDER BY AutoIDNum");
        QString joined;
        for (const auto& p : parts)
            joined += (joined.isEmpty() ? "" : "|") + QString::fromStdString(p);
        QCOMPARE(joined, partsHex);
        // The configuration is whole: the SQL texts were data, nothing more.
        QCOMPARE(vxtest::QueryScalar(m_sandbox->defDatabase(), "PRAGMA integrity_check"), std::string("ok"));
        QCOMPARE(vxtest::QueryScalar(m_sandbox->defDatabase(),
                                     "SELECT COUNT(*) FROM tblSettings WHERE SettingName = 'MachineType'"),
                 std::string("1"));
    }

    void thousandsOfDistinctPartNames()
    {
        const int n = 5000;
        std::string csv = m_sandbox->writeFile("many.csv", vxtest::CutList("MANY NAME ", n));
        std::string rdb = m_sandbox->file("many.rdb");
        RunResult r = vxtest::RunVxclt({csv, rdb}, m_sandbox->root());
        QCOMPARE(r.err, std::string());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(vxtest::QueryScalar(rdb, "SELECT COUNT(DISTINCT Part) FROM tblParts"), std::to_string(n));
        QCOMPARE(vxtest::QueryScalar(m_sandbox->defDatabase(),
                                     "SELECT COUNT(*) FROM tblPartsCriteria WHERE Part LIKE 'MANY NAME %'"),
                 std::to_string(n));
        // A second run learns nothing new and writes the same parts.
        QCOMPARE(vxtest::RunVxclt({csv, rdb}, m_sandbox->root()).exitCode, 0);
        QCOMPARE(vxtest::QueryScalar(m_sandbox->defDatabase(),
                                     "SELECT COUNT(*) FROM tblPartsCriteria WHERE Part LIKE 'MANY NAME %'"),
                 std::to_string(n));
    }
};

QTEST_GUILESS_MAIN(TestHostileCutLists)
#include "tst_HostileCutLists.moc"
