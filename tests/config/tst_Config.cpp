// The configuration layer: settings loaded and saved back, the restored runtime files, and
// the number and text helpers every check shares. The table store is walked by every grid
// and setting (damaged files and missing tables: tst_Faults).
#include "TestSupport.h"
#include "base/NumberText.h"
#include "base/VxError.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"
#include "config/modCLTSettings.h"
#include "config/modCLTTools.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

using namespace vx;
using vxtest::QueryScalar;
using vxtest::RuntimeSandbox;

namespace {
// A locale unlike the C one in both ways that matter here: "," is its decimal point and
// toupper('i') stays 'i' (Turkish). Built once into a folder of its own; false where the
// system cannot build it (no locale sources).
bool UseTurkishLocale()
{
    static QTemporaryDir folder;
    static const bool built = QProcess::execute("localedef", {"-i", "tr_TR", "-f", "UTF-8",
                                                              folder.path() + "/tr_TR.UTF-8"}) == 0;
    if (!built)
        return false;
    qputenv("LOCPATH", folder.path().toUtf8());
    return std::setlocale(LC_ALL, "tr_TR.UTF-8") != nullptr;
}
} // namespace

class TestConfig : public QObject {
    Q_OBJECT

private slots:
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
        QCOMPARE(QString::fromStdString(QueryScalar(box.defDatabase(), "SELECT SettingValue FROM tblSettings" + where)),
                 saved);
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

    // Each row: what is done to the text and the result, or the error number raised. Hex, inf, NaN
    // and the edges of a double are read through the console (tst_Faults::hostileCutLists).
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
        row("fixed: half away from zero", "fixed 2", "0.125", "0.13");
        row("trim: spaces and tabs", "trim", " \t a b \t", "[a b]");
        row("split: empty fields kept", "split ,", "a,,b", "[a][][b]");
        row("split: long delimiter", "split <>", "a<>b", "[a][b]");
        row("split: empty text", "split ,", "", "[]");
        row("upper: dotted i", "upper", "Switch_Dims", "SWITCH_DIMS");
    }
    // Every row gives the same in the C locale and in the user's (the windowed program runs in it).
    void textAndNumbers()
    {
        QFETCH(QString, how);
        QFETCH(QString, text);
        QFETCH(QString, result);
        const std::string t = text.toStdString(), arg = how.section(' ', 1).toStdString();
        const int places = std::atoi(arg.c_str());
        auto actual = [&] {
            const auto read = ParseNumber(t);
            std::string out;
            try {
                out = how == "read"             ? (read ? QString::number(*read, 'g', 17).toStdString() : "none")
                      : how == "whole"          ? std::to_string(ToLong(t))
                      : how == "write"          ? FormatNumber(ToDouble(t))
                      : how.startsWith("even")  ? FormatNumber(RoundHalfEven(ToDouble(t), places))
                      : how.startsWith("fixed") ? FormatFixed(ToDouble(t), places)
                      : how == "upper"          ? UpperCase(t) + (EqualsNoCase(t, UpperCase(t)) ? "" : " differs")
                                                : "";
                for (const std::string& part : how == "trim"             ? std::vector{TrimBlanks(t)}
                                               : how.startsWith("split") ? SplitText(t, arg)
                                                                         : std::vector<std::string>{})
                    out += "[" + part + "]";
            } catch (const VxError& e) {
                out = "error " + std::to_string(e.number());
            }
            return QString::fromStdString(out);
        };
        QCOMPARE(actual(), result);
        if (UseTurkishLocale()) {
            const QString there = actual();
            std::setlocale(LC_ALL, "C");
            QCOMPARE(there, result);
        }
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_Config.moc"
