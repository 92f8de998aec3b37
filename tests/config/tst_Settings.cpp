// Settings: what each stored value loads as, what the savers write back, the delimiter
// choice and the runtime files restored from the factory copies.
#include "TestSupport.h"
#include "config/NumberText.h"
#include "config/RuntimeFiles.h"
#include "config/TableStore.h"
#include "config/VxError.h"
#include "config/modCLTSettings.h"
#include "config/modCLTTools.h"
#include "start/ProgramState.h"

#include <QFile>
#include <QtTest>

using namespace vx;
using vxtest::QueryScalar;
using vxtest::RuntimeSandbox;

class TestSettings : public QObject {
    Q_OBJECT

    static void Store(const RuntimeSandbox& box, const std::string& key, const std::string& value)
    {
        box.execDef("UPDATE tblSettings SET SettingValue = " + SqlQuote(value) +
                    " WHERE SettingName = " + SqlQuote(key));
    }

private slots:
    // Each row: {setting, stored text} and the value it loads as.
    void storedValuesLoad_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("machine type out of range keeps default") << QStringList{"MachineType", "7"} << 2;
        QTest::newRow("machine type joystick") << QStringList{"MachineType", " 1 "} << 1;
        QTest::newRow("length type out of range gives none") << QStringList{"ConvertLengthType", "5"} << 0;
        QTest::newRow("length type rounds") << QStringList{"ConvertLengthType", "1.6"} << 2;
        QTest::newRow("negative skip keeps default") << QStringList{"ProcessingSkipFirstXLines", "-1"} << 0;
        QTest::newRow("huge skip keeps default") << QStringList{"MappingSkipFirstXLines", "1e12"} << 0;
        QTest::newRow("scribes minus one is true") << QStringList{"Scribes", "-1"} << 1;
        QTest::newRow("scribes text keeps false") << QStringList{"Scribes", "yes"} << 0;
        QTest::newRow("ask if valid any number") << QStringList{"AskIfValid", "5"} << 5;
    }
    void storedValuesLoad()
    {
        QFETCH(QStringList, stored);
        QFETCH(int, loaded);
        const QString key = stored[0];
        RuntimeSandbox box;
        Store(box, key.toStdString(), stored[1].toStdString());
        LoadSettings();
        const ProgramState& s = State();
        int actual = key == "MachineType"                 ? s.MachineType
                     : key == "ConvertLengthType"         ? s.ConvertLengthType
                     : key == "ProcessingSkipFirstXLines" ? s.ProcessingSkipFirstXLines
                     : key == "MappingSkipFirstXLines"    ? s.MappingSkipFirstXLines
                     : key == "Scribes"                   ? int(s.Scribes)
                                                          : s.AskIfValid;
        QCOMPARE(actual, loaded);
    }

    void saversWriteStoredForms()
    {
        RuntimeSandbox box;
        Store(box, "Scribes", "-1");
        box.execDef("DELETE FROM tblSettings WHERE SettingName IN ('AskIfValid', 'MachineType')");
        LoadSettings();
        State().AskIfValid = 0;
        SaveMachineSettings();
        const std::string db = box.defDatabase();
        QCOMPARE(QueryScalar(db, "SELECT SettingValue FROM tblSettings WHERE SettingName='Scribes'"), std::string("1"));
        // AskIfValid is added when missing; MachineType is not.
        QCOMPARE(QueryScalar(db, "SELECT SettingValue FROM tblSettings WHERE SettingName='AskIfValid'"),
                 std::string("0"));
        QCOMPARE(QueryScalar(db, "SELECT count(*) FROM tblSettings WHERE SettingName='MachineType'"), std::string("0"));
        QVERIFY(box.err.empty());

        State().ExtraSpaceBalls = {"  800 ", ""};
        SaveExtraSpaceBalls();
        QCOMPARE(QueryScalar(db, "SELECT SettingValue FROM tblSettings WHERE SettingName='ExtraSpaceBalls3'"),
                 std::string("800"));
    }

    void delimiterLastSelectedWins()
    {
        RuntimeSandbox box;
        box.execDef("UPDATE tblDelimiters SET Selected = 1");
        LoadDelimiter();
        std::string last =
            QueryScalar(box.defDatabase(), "SELECT Delimiter FROM tblDelimiters ORDER BY ID DESC LIMIT 1");
        QCOMPARE(State().Delimiter, last);
        box.execDef("UPDATE tblDelimiters SET Selected = 0");
        LoadDelimiter();
        QCOMPARE(State().Delimiter, std::string(","));
        SaveDelimiter(";");
        LoadDelimiter();
        QCOMPARE(State().Delimiter, std::string(";"));
    }

    void unreadableConfigurationReportsAndKeepsValues()
    {
        RuntimeSandbox box;
        QFile::resize(QString::fromStdString(box.defDatabase()), 0);
        QFile f(QString::fromStdString(box.defDatabase()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a database at all, just some text that fills the header");
        f.close();
        State().CommandLineMode = true;
        State().MachineType = 1;
        LoadMachineSettings();
        QCOMPARE(State().MachineType, 1);
        QVERIFY(State().ErrorReported);
        QVERIFY(!box.err.empty());
        QVERIFY(QString::fromStdString(box.err.front()).startsWith("Error: "));
    }

    void partsFileFilter()
    {
        QCOMPARE(PartsFileFilter(""), std::string("All Files (*.*)|*.*"));
        QCOMPARE(PartsFileFilter(" csv "), std::string("Parts Files (*.csv)|*.csv|All Files (*.*)|*.*"));
    }

    void criteriaColumnsCheckIgnoresCase()
    {
        RuntimeSandbox box;
        QVERIFY(!CriteriaColumnsMissing());
        box.execDef("ALTER TABLE tblPartsCriteria RENAME COLUMN Switch_Dims TO SWITCH_DIMS");
        QVERIFY(!CriteriaColumnsMissing());
        box.execDef("ALTER TABLE tblPartsCriteria DROP COLUMN Reverse_Scribes");
        QVERIFY(CriteriaColumnsMissing());
    }

    void runtimeFilesRestoredAndProtected()
    {
        RuntimeSandbox box;
        QVERIFY(QFile::exists(QString::fromStdString(box.defDatabase())));
        box.execDef("INSERT INTO tblMaterials (Material) VALUES ('MARKER')");
        QFile::remove(QString::fromStdString(box.templateDatabase()));
        SetUpRuntimeFiles();
        // Only the missing file comes back; the existing configuration is kept.
        QVERIFY(QFile::exists(QString::fromStdString(box.templateDatabase())));
        QCOMPARE(QueryScalar(box.defDatabase(), "SELECT count(*) FROM tblMaterials WHERE Material='MARKER'"),
                 std::string("1"));

        QVERIFY(IsProgramFile(" " + UpperCase(box.defDatabase()) + " "));
        QVERIFY(!IsProgramFile(box.file("job.csv")));
        QCOMPARE(FolderOf("/a/b/c.csv"), std::string("/a/b"));
        QCOMPARE(FolderOf("c.csv"), std::string("c.csv"));
        QCOMPARE(FileNameOf("C:\\x\\a.csv"), std::string("a.csv"));
        QCOMPARE(FileNameOf("/x/a.csv"), std::string("a.csv"));
    }

    void entryChecks_data()
    {
        QTest::addColumn<QString>("entered");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank") << "   " << false << "Value required for LENGTH.";
        QTest::newRow("text") << "abc" << false << "Value entered for LENGTH can not be evaluated as a number.";
        QTest::newRow("zero at exclusive limit") << "0" << false << "LENGTH must be > 0";
        QTest::newRow("just above") << "0.0001" << true << "";
    }
    void entryChecks()
    {
        QFETCH(QString, entered);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        double value = -1;
        std::string msg;
        QCOMPARE(CheckDoubleValue("LENGTH", entered.toStdString(), value, 0, false, msg), accepted);
        QCOMPARE(QString::fromStdString(msg), message);
    }

    void wholeNumberEntryChecks()
    {
        int32_t v = -5;
        std::string msg;
        QVERIFY(CheckLongValue("Skip first x lines", "0", v, 0, true, msg));
        QVERIFY(!CheckLongValue("Skip first x lines", "-1", v, 0, true, msg));
        QCOMPARE(msg, std::string("Skip first x lines must be >= 0"));
        QCOMPARE(v, -1); // the value is set even when refused
        QVERIFY(CheckLongValue("QUANTITY", "2.5", v, 0, true, msg));
        QCOMPARE(v, 2);
        msg.clear();
        double d = 0;
        QVERIFY(!CheckDoubleValue("WIDTH", "0.25", d, 0.5, true, msg));
        QCOMPARE(msg, std::string("WIDTH must be >= 0.5"));
        QVERIFY_THROWS_EXCEPTION(VxError, CheckLongValue("QUANTITY", "3e9", v, 0, true, msg));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_Settings.moc"
