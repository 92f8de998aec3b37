// The configuration layer: settings loaded and saved back, entry checks, the restored
// runtime files, the table store under every grid and setting (damaged files and missing
// tables: tst_Faults), and the number and text helpers every check shares.
#include "TestSupport.h"
#include "config/NumberText.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"
#include "config/VxError.h"
#include "config/modCLTSettings.h"
#include "config/modCLTTools.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace vx;
using vxtest::QueryScalar;
using vxtest::RuntimeSandbox;

class TestConfig : public QObject {
    Q_OBJECT

    static QString Stored(const RuntimeSandbox& box, const std::string& key)
    {
        return QString::fromStdString(QueryScalar(
            box.defDatabase(), "SELECT SettingValue FROM tblSettings WHERE SettingName = " + SqlQuote(key)));
    }

    std::shared_ptr<Connection> m_conn;
    QTemporaryDir m_dir;

    std::vector<std::string> Column(RecordSet& rs, const char* name)
    {
        std::vector<std::string> out;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            out.push_back(rs.Value(name).toText());
        return out;
    }
    Variant Scalar(const std::string& sql) { return m_conn->ScalarQuery(sql); }
    long Count() { return Scalar("SELECT count(*) FROM tblMaterials").toLong(); }

private slots:
    void init()
    {
        QString path = m_dir.filePath("t.mdb");
        m_conn.reset();
        QVERIFY(QFile(path).open(QIODevice::WriteOnly)); // an empty file is a valid empty database
        m_conn = Connection::Open(path.toStdString());
        m_conn->Execute("CREATE TABLE tblMaterials (AutoIDNum INTEGER PRIMARY KEY AUTOINCREMENT, "
                        "Material TEXT COLLATE NOCASE, Qty INTEGER, Width REAL, Valid BOOLEAN DEFAULT 0);"
                        "INSERT INTO tblMaterials (Material, Qty, Width, Valid) VALUES "
                        "('MAPLE', 2, 12.5, 1), ('birch', 1, 3, 0), ('O''Brien oak', 5, 1.25, 1), ('ASH', 0, 7, 0);");
    }

    void addUpdateDeleteWriteThrough()
    {
        RecordSet rs(m_conn, "SELECT * from tblMaterials");
        rs.AddNew();
        rs.SetValue("Material", "WALNUT");
        rs.SetValue("Qty", "3.5"); // whole-number columns round half to even
        rs.SetValue("Valid", -1);  // any non-zero Boolean is stored as 1
        rs.Update();
        QCOMPARE(rs.RecordCount(), 5);
        QCOMPARE(rs.Value("Material").toText(), std::string("WALNUT")); // the added row is current
        QVERIFY(rs.Value("AutoIDNum").toLong() > 4);
        QCOMPARE(Scalar("SELECT Qty || Valid FROM tblMaterials WHERE Material='WALNUT'").toText(), std::string("41"));

        rs.MoveFirst();
        rs.SetValue("Width", 99.0);
        QCOMPARE(rs.Value("Width").toDouble(), 99.0); // pending edit visible before Update
        rs.Update();
        QCOMPARE(Scalar("SELECT Width FROM tblMaterials WHERE Material='MAPLE'").toDouble(), 99.0);

        rs.SetValueAt(1, 1, std::string("BIRCH"));
        QCOMPARE(Scalar("SELECT count(*) FROM tblMaterials WHERE Material='BIRCH' COLLATE BINARY").toLong(), 1);
    }

    void deleteInLoopVisitsEveryRow()
    {
        // The loop "if condition then Delete; MoveNext" must not skip the row sliding into the deleted one's place.
        RecordSet rs(m_conn, "SELECT * from tblMaterials");
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            if (rs.Value("Qty").toLong() <= 2)
                rs.Delete();
        QCOMPARE(Count(), 1);
        QCOMPARE(Column(rs, "Material"), std::vector<std::string>{"O'Brien oak"});
    }

    void transactionRollsBackUnlessCommitted()
    {
        {
            Transaction tx(*m_conn);
            m_conn->Execute("Delete * from tblMaterials"); // the stored queries' form of DELETE
            QCOMPARE(Count(), 0);
        }
        QCOMPARE(Count(), 4);
    }
    // Each row: a setting's stored text (null: no row) and what loading and saving back leaves ("": no row).
    void storedValuesLoad_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("saved");
        auto row = [](const char* name, const char* key, const char* stored, const char* saved) {
            QTest::newRow(name) << key << QString(stored) << saved;
        };
        row("machine type out of range keeps default", "MachineType", "7", "2");
        row("machine type missing is not added", "MachineType", nullptr, "");
        row("length type out of range gives none", "ConvertLengthType", "5", "0");
        row("length type rounds", "ConvertLengthType", "1.6", "2");
        row("negative skip keeps default", "ProcessingSkipFirstXLines", "-1", "0");
        row("huge skip keeps default", "MappingSkipFirstXLines", "1e12", "0");
        row("scribes minus one is true", "Scribes", "-1", "1");
        row("ask if valid missing is added", "AskIfValid", nullptr, "1");
    }
    void storedValuesLoad()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, saved);
        RuntimeSandbox box;
        const std::string where = " WHERE SettingName = " + SqlQuote(key.toStdString());
        box.execDef(stored.isNull()
                        ? "DELETE FROM tblSettings" + where
                        : "UPDATE tblSettings SET SettingValue = " + SqlQuote(stored.toStdString()) + where);
        LoadSettings();
        SaveMachineSettings();
        SaveProcessingSettings();
        QCOMPARE(Stored(box, key.toStdString()), saved);
    }

    void partsFileFilter()
    {
        QCOMPARE(PartsFileFilter(""), std::string("All Files (*.*)|*.*"));
        QCOMPARE(PartsFileFilter(" csv "), std::string("Parts Files (*.csv)|*.csv|All Files (*.*)|*.*"));
    }

    void runtimeFilesRestoredAndProtected()
    {
        RuntimeSandbox box;
        box.execDef("INSERT INTO tblMaterials (Material) VALUES ('MARKER')");
        QFile::remove(QString::fromStdString(box.templateDatabase()));
        SetUpRuntimeFiles();
        QVERIFY(QFile::exists(QString::fromStdString(box.templateDatabase()))); // only the missing file comes back
        QCOMPARE(QueryScalar(box.defDatabase(), "SELECT Material FROM tblMaterials WHERE Material='MARKER'"), "MARKER");
        QVERIFY(IsProgramFile(" " + UpperCase(box.defDatabase()) + " "));
    }

    // The limits' edges and the overflow (other refusals: tst_CutListReading, tst_frmCLTViewEditROPartsFile).
    void entryChecks()
    {
        // "value|message": the value is set whenever the text is numeric (-5 before).
        auto check = [](const char* entered, double limit, bool atLimit, bool whole = false) {
            double value = -5;
            int32_t n = -5;
            std::string msg;
            const bool ok = whole ? CheckLongValue("LENGTH", entered, n, int32_t(limit), atLimit, msg)
                                  : CheckDoubleValue("LENGTH", entered, value, limit, atLimit, msg);
            return QString::fromStdString(FormatNumber(whole ? n : value) + (ok ? "|" : "|refused: ") + msg);
        };
        QCOMPARE(check("0", 0, false), "0|refused: LENGTH must be > 0");
        QCOMPARE(check("0.0001", 0, false), "0.0001|");
        QCOMPARE(check("0.25", 0.5, true), "0.25|refused: LENGTH must be >= 0.5");
        QCOMPARE(check("0", 0, true, true), "0|");
        QVERIFY_THROWS_EXCEPTION(VxError, check("3e9", 0, true, true));
    }
    // Each row: what is done to the text and the result, or the error number raised. Hex, inf, NaN
    // and the edges of a double are read through the console (tst_FileSafety::hostileCutLists).
    void textAndNumbers_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        auto row = [](const char* name, const char* how, const QString& text, const char* result) {
            QTest::newRow(name) << how << text << result;
        };
        // "read" shows all 17 digits, so a lost digit or a -0 shows.
        row("read: blanks around", "read", "  12.5\t", "12.5");
        row("read: leading point", "read", ".5", "0.5");
        row("read: trailing point", "read", "5.", "5");
        row("read: exponent sign", "read", "25E-1", "2.5");
        row("read: minus zero", "read", "-0", "0");
        row("read: many leading zeros", "read", QString(400, '0') + "12.5", "12.5");
        row("read: empty", "read", "", "none");
        row("read: point only", "read", ".", "none");
        row("read: two points", "read", "1.2.3", "none");
        row("read: comma decimal", "read", "1,5", "none");
        row("read: exponent without digits", "read", "1e", "none");
        row("read: inner blank", "read", "1 2", "none");
        row("whole: half down to even", "whole", "2.5", "2");
        row("whole: half up to even", "whole", "3.5", "4");
        row("whole: largest", "whole", "2147483647", "2147483647");
        row("whole: smallest", "whole", "-2147483648", "-2147483648");
        row("whole: overflow above", "whole", "2147483648", "error 6");
        row("whole: overflow below", "whole", "-2147483649", "error 6");
        row("whole: not a number", "whole", "abc", "error 13");
        row("even: mm to inch", "even 4", "0.39370078740157477", "0.3937");
        row("even: half down", "even 2", "0.125", "0.12");
        row("even: half up", "even 2", "0.375", "0.38");
        row("even: decimal text half", "even 2", "2.675", "2.68");
        row("even: negative", "even 3", "-1.23456", "-1.235");
        row("write: whole", "write", "250", "250");
        row("write: trailing zero dropped", "write", "12.50", "12.5");
        row("write: zero", "write", "0", "0");
        row("write: smallest plain", "write", "-0.0001", "-0.0001");
        row("write: tiny uses exponent", "write", "0.00001", "1E-5");
        row("write: huge uses exponent", "write", "1e15", "1E+15");
        row("write: fifteen digits", "write", "0.30000000000000004", "0.3");
        row("fixed: pads", "fixed 2", "50", "50.00");
        row("fixed: half away from zero", "fixed 2", "0.125", "0.13");
        row("trim: spaces and tabs", "trim", " \t a b \t", "[a b]");
        row("split: empty fields kept", "split ,", "a,,b", "[a][][b]");
        row("split: long delimiter", "split <>", "a<>b", "[a][b]");
        row("split: empty text", "split ,", "", "[]");
        row("no case: equal", "nocase SWITCH_DIMS", "Switch_Dims", "equal");
        row("no case: differ", "nocase abd", "abc", "differ");
    }
    void textAndNumbers()
    {
        QFETCH(QString, how);
        QFETCH(QString, text);
        QFETCH(QString, result);
        const std::string t = text.toStdString(), arg = how.section(' ', 1).toStdString();
        const int places = std::atoi(arg.c_str());
        const auto read = ParseNumber(t);
        std::string actual;
        try {
            actual = how == "read"              ? (read ? QString::number(*read, 'g', 17).toStdString() : "none")
                     : how == "whole"           ? std::to_string(ToLong(t))
                     : how == "write"           ? FormatNumber(ToDouble(t))
                     : how.startsWith("even")   ? FormatNumber(RoundHalfEven(ToDouble(t), places))
                     : how.startsWith("fixed")  ? FormatFixed(ToDouble(t), places)
                     : how.startsWith("nocase") ? (EqualsNoCase(t, arg) ? "equal" : "differ")
                                                : "";
            for (const std::string& part : how == "trim"             ? std::vector{TrimBlanks(t)}
                                           : how.startsWith("split") ? SplitText(t, arg)
                                                                     : std::vector<std::string>{})
                actual += "[" + part + "]";
        } catch (const VxError& e) {
            actual = "error " + std::to_string(e.number());
        }
        QCOMPARE(QString::fromStdString(actual), result);
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_Config.moc"
