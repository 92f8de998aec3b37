// Settings loaded and saved back, entry checks and the restored runtime files.
#include "TestSupport.h"
#include "config/NumberText.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"
#include "config/VxError.h"
#include "config/modCLTSettings.h"
#include "config/modCLTTools.h"

#include <QFile>
#include <QtTest>

using namespace vx;
using vxtest::QueryScalar;
using vxtest::RuntimeSandbox;

class TestSettings : public QObject {
    Q_OBJECT

    static QString Stored(const RuntimeSandbox& box, const std::string& key)
    {
        return QString::fromStdString(QueryScalar(
            box.defDatabase(), "SELECT SettingValue FROM tblSettings WHERE SettingName = " + SqlQuote(key)));
    }

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
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_Settings.moc"
