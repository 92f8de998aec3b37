// Applying the part criteria: every rule, its gating by machine type and accessories,
// re-applying after criteria changes, and the same result whether the rows get their
// criteria while they are read or afterwards.
#include "ConvertTestTools.h"

#include "start/Messages.h"

#include <QtTest>

using namespace vx;
using namespace convtest;

namespace {
const char* kRowColumns = "ValidPart || '|' || Process || '|' || WIDTH || '|' || LENGTH || '|' || SCRIBES || '|' || "
                          "SPACEBALLS || '|' || B_GRADE || '|' || POCKETHOLES || '|' || PANEL || '|' || "
                          "Dimensions_Switched || '|' || Scribes_Reversed";

void AddCriteria(const vxtest::RuntimeSandbox& sandbox, const QString& values)
{
    sandbox.execDef("INSERT INTO tblPartsCriteria (Part, Valid_Part, B_Grade, Pocket_Holes, Space_Ball_Loc, Panel, "
                    "Min_Panel_Width, Process, Switch_Dims, Reverse_Scribes) VALUES " +
                    values.toStdString());
}
} // namespace

class TestPartsCriteria : public QObject {
    Q_OBJECT

    // Maps part 1, width 2, length 3, scribes 4, space balls 5, prepares the session and
    // writes the cut list.
    std::string Prepare(SessionFixture& f, const QString& lines)
    {
        [&] { QVERIFY(f.prepare({{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}, {"SCRIBES", 4}, {"SPACEBALLS", 5}})); }();
        return f.sandbox.writeFile("job.csv", lines.toStdString());
    }

private slots:
    // Each row: {MachineType,Scribes,SpaceBalls,PocketHoles; criteria rows; cut-list lines} and the
    // working rows that result.
    void rules_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("rows");
        const QString plain = "('P', 1, 0, 0, 0, 0, 0, 1, 0, 0)";
        QTest::newRow("new part gets the defaults")
            << QStringList{"2,1,0,0", "", "New,10,20,5|5,9"} << QStringList{"1|1|10.0|20.0|5|5||0|0|0|0|0"};
        QTest::newRow("not valid, other process")
            << QStringList{"2,0,0,0", "('P', 0, 0, 0, 0, 0, 0, 2, 0, 0)", "P,10,20,,"}
            << QStringList{"0|2|10.0|20.0|||0|0|0|0|0"};
        QTest::newRow("names match in any case")
            << QStringList{"2,0,0,0", "('Drawer Front', 0, 0, 0, 0, 0, 0, 2, 0, 0)", "DRAWER FRONT,10,20,,"}
            << QStringList{"0|2|10.0|20.0|||0|0|0|0|0"};
        // Names from the operator may hold apostrophes; the rows never do (the reader drops them).
        QTest::newRow("apostrophes in criteria names")
            << QStringList{"2,0,0,0", "('Bob''s Shelf', 0, 0, 0, 0, 0, 0, 2, 0, 0)", "Bob's Shelf,10,20,,"}
            << QStringList{"1|1|10.0|20.0|||0|0|0|0|0"};
        QTest::newRow("switched dimensions")
            << QStringList{"2,0,0,0", "('P', 1, 0, 0, 0, 0, 0, 1, 1, 0)", "P,300,700,,"}
            << QStringList{"1|1|700.0|300.0|||0|0|0|1|0"};
        QTest::newRow("mirrored scribes")
            << QStringList{"2,1,0,0", "('P', 1, 0, 0, 0, 0, 0, 1, 0, 1)", "P,10,100,20|30,"}
            << QStringList{"1|1|10.0|100.0|50|30||0|0|0|0|1"};
        QTest::newRow("mirrored on the switched length")
            << QStringList{"2,1,0,0", "('P', 1, 0, 0, 0, 0, 0, 1, 1, 1)", "P,100,10,20|30,"}
            << QStringList{"1|1|10.0|100.0|50|30||0|0|0|1|1"};
        QTest::newRow("zero and end scribe removed")
            << QStringList{"2,1,0,0", plain, "P,10,100,0|40|60,"} << QStringList{"1|1|10.0|100.0|40||0|0|0|0|0"};
        QTest::newRow("only zeros: nothing to mirror")
            << QStringList{"2,1,0,0", "('P', 1, 0, 0, 0, 0, 0, 1, 0, 1)", "P,10,100,0|0,"}
            << QStringList{"1|1|10.0|100.0|||0|0|0|0|0"};
        QTest::newRow("scribes without the accessory")
            << QStringList{"2,0,0,0", plain, "P,10,100,20|30,"} << QStringList{"1|1|10.0|100.0|||0|0|0|0|0"};
        QTest::newRow("panel at the minimum width")
            << QStringList{"2,0,0,0", "('P', 1, 0, 0, 0, 1, 12, 1, 0, 0)", "P,12,100,,\r\nP,11.99,100,,"}
            << QStringList{"1|1|12.0|100.0|||0|0|1|0|0", "1|1|11.99|100.0|||0|0|0|0|0"};
        QTest::newRow("panel on the switched width")
            << QStringList{"2,0,0,0", "('P', 1, 0, 0, 0, 1, 12, 1, 1, 0)", "P,5,20,,"}
            << QStringList{"1|1|20.0|5.0|||0|0|1|1|0"};
        QTest::newRow("no panel on machine type 0")
            << QStringList{"0,0,0,0", "('P', 1, 0, 0, 0, 1, 12, 1, 0, 0)", "P,20,100,,"}
            << QStringList{"1|1|20.0|100.0|||0|0|0|0|0"};
        QTest::newRow("B grade on machine type 1")
            << QStringList{"1,0,0,0", "('P', 1, 1, 0, 0, 0, 0, 1, 0, 0)", "P,10,20,,"}
            << QStringList{"1|1|10.0|20.0|||1|0|0|0|0"};
        QTest::newRow("no B grade on machine type 2")
            << QStringList{"2,0,0,0", "('P', 1, 1, 0, 0, 0, 0, 1, 0, 0)", "P,10,20,,"}
            << QStringList{"1|1|10.0|20.0|||0|0|0|0|0"};
        QTest::newRow("pocket holes with the accessory")
            << QStringList{"2,0,0,1", "('P', 1, 0, 1, 0, 0, 0, 1, 0, 0)", "P,10,20,,"}
            << QStringList{"1|1|10.0|20.0|||0|1|0|0|0"};
        QTest::newRow("no pocket holes without it")
            << QStringList{"2,0,0,0", "('P', 1, 0, 1, 0, 0, 0, 1, 0, 0)", "P,10,20,,"}
            << QStringList{"1|1|10.0|20.0|||0|0|0|0|0"};
        QTest::newRow("space balls 2, 3 and 4")
            << QStringList{"2,0,1,0", "('P', 1, 0, 0, 50, 0, 0, 1, 0, 0)",
                           "P,10,700,,9\r\nP,10,1000,,9\r\nP,10,1500,,9"}
            << QStringList{"1|1|10.0|700.0||50.00|600.00|0|0|0|0|0", "1|1|10.0|1000.0||50.00|450.00|450.00|0|0|0|0|0",
                           "1|1|10.0|1500.0||50.00|466.67|466.67|466.67|0|0|0|0|0"};
        QTest::newRow("file space balls replaced without the accessory")
            << QStringList{"2,0,0,0", "('P', 1, 0, 0, 50, 0, 0, 1, 0, 0)", "P,10,700,,9|9"}
            << QStringList{"1|1|10.0|700.0|||0|0|0|0|0"};
        // Two criteria rows for one name are applied one after the other in Part order.
        QTest::newRow("two criteria rows for one name")
            << QStringList{"1,0,0,0", "('P', 1, 1, 0, 0, 0, 0, 2, 1, 0), ('p', 0, 0, 0, 0, 0, 0, 3, 1, 0)",
                           "P,300,700,,"}
            << QStringList{"0|3|700.0|300.0|||1|0|0|1|0"};
    }
    void rules()
    {
        QFETCH(QStringList, setup);
        QFETCH(QStringList, rows);
        const QStringList m = setup[0].split(',');
        // Both ways to the same rows: criteria applied as the rows are read (the open
        // sequence), and read first, then applied.
        for (bool whileReading : {true, false}) {
            SessionFixture f;
            SetMachine(m[0].toInt(), m[1] == "1", m[2] == "1", m[3] == "1");
            State().ExtraSpaceBalls = {"800", "1200"};
            if (!setup[1].isEmpty())
                AddCriteria(f.sandbox, setup[1]);
            std::string path = Prepare(f, setup[2]);
            if (whileReading) {
                QVERIFY(f.session.OpenPartsFile(path, "job.csv", true));
            } else {
                QVERIFY(f.session.OpenCommaDelimitedPartsFile(path, "job.csv"));
                f.session.ApplyPartsCriteria();
            }
            QCOMPARE(f.presenter.prompts.size(), size_t(0));
            QCOMPARE(WorkingColumn(f.session, kRowColumns), rows);
        }
    }

    // Each row: {criteria row; cut-list line; change made to the criteria}, the working row
    // after opening (applying again must not change it), and after the change is applied.
    void reapplyAfterChanges_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("changed");
        QTest::newRow("switch and back") << QStringList{"('P', 1, 0, 0, 0, 0, 0, 1, 1, 0)", "P,300,700,,",
                                                        "Switch_Dims = 0"}
                                         << QString("700.0|300.0||1|0") << "300.0|700.0||0|0";
        QTest::newRow("mirror and back") << QStringList{"('P', 1, 0, 0, 0, 0, 0, 1, 0, 1)", "P,10,100,20|30,",
                                                        "Reverse_Scribes = 0"}
                                         << QString("10.0|100.0|50|30|0|1") << "10.0|100.0|20|30|0|0";
        QTest::newRow("switch and mirror added later")
            << QStringList{"('P', 1, 0, 0, 0, 0, 0, 1, 0, 0)", "P,100,10,20|30,",
                           "Switch_Dims = 1, Reverse_Scribes = 1"}
            << QString("100.0|10.0|20|0|0") << "10.0|100.0|80|1|1";
    }
    void reapplyAfterChanges()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, first);
        QFETCH(QString, changed);
        SessionFixture f;
        SetMachine(2, true, false, false);
        AddCriteria(f.sandbox, setup[0]);
        std::string path = Prepare(f, setup[1]);
        ConversionSession& session = f.session;
        QVERIFY(session.AUTOOpenPartsFile(path, "job.csv"));
        const char* columns = "WIDTH || '|' || LENGTH || '|' || SCRIBES || '|' || Dimensions_Switched || '|' || "
                              "Scribes_Reversed";
        QCOMPARE(WorkingColumn(session, columns), QStringList{first});
        session.ApplyPartsCriteria();
        QCOMPARE(WorkingColumn(session, columns), QStringList{first});
        f.sandbox.execDef("UPDATE tblPartsCriteria SET " + setup[2].toStdString() + " WHERE Part = 'P'");
        session.ApplyPartsCriteria();
        QCOMPARE(WorkingColumn(session, columns), QStringList{changed});
    }

    void refusedRuns_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message");
        QTest::newRow("4-ball length below 3-ball length")
            << "thresholds"
            << "Length given for 4 extra space balls must be >= Length given for 3 extra space balls, please re-enter.";
        QTest::newRow("criteria without a process") << "nullProcess"
                                                    << "Error: 94, Invalid use of Null, "
                                                       "ApplyPartsCriteria";
    }
    void refusedRuns()
    {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        SessionFixture f;
        SetMachine(2, false, true, false);
        State().ExtraSpaceBalls =
            setup == "thresholds" ? std::array<std::string, 2>{"1200", "800"} : std::array<std::string, 2>{"", ""};
        AddCriteria(f.sandbox, setup == "nullProcess" ? "('P', 0, 0, 0, 0, 0, 0, NULL, 0, 0)"
                                                      : "('P', 0, 0, 0, 0, 0, 0, 2, 0, 0)");
        QVERIFY(f.session.OpenPartsFile(Prepare(f, "P,10,20,,"), "job.csv", false));
        QCOMPARE(f.presenter.prompts.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f.presenter.prompts[0].text), message);
        // No row was changed: it still has the values of a row just read.
        QCOMPARE(WorkingColumn(f.session, "ValidPart || '|' || Process"), QStringList{"0|1"});
    }
};

QTEST_GUILESS_MAIN(TestPartsCriteria)
#include "tst_PartsCriteria.moc"
