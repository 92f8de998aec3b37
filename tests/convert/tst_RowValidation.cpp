// Every message of the value check, by data type and field name.
#include "convert/RowValidation.h"

#include <QtTest>

using namespace vx;

class TestRowValidation : public QObject {
    Q_OBJECT
private slots:
    // Each row: the field's {name, value, data type} at a column of a row with this many
    // columns, and the message (empty: accepted).
    void check_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("column missing") << 7 << 5 << QStringList{"UF_1", "", "TEXT"}
                                        << "CAB is mapped to column 7, but the column does not exist in this row. ";
        QTest::newRow("width 0") << 2 << 4 << QStringList{"WIDTH", "0", "DOUBLE"}
                                 << "The data in column 2 for CAB must be > 0. ";
        QTest::newRow("length negative") << 3 << 4 << QStringList{"length", "-1", "double"}
                                         << "The data in column 3 for CAB must be > 0. ";
        QTest::newRow("width text") << 2 << 4 << QStringList{"WIDTH", "abc", "DOUBLE"}
                                    << "The data in column 2 for CAB can not be evaluated as a number. ";
        QTest::newRow("thickness 0") << 2 << 4 << QStringList{"THICKNESS", "0", "DOUBLE"} << "";
        QTest::newRow("thickness -1") << 2 << 4 << QStringList{"THICKNESS", "-1", "DOUBLE"}
                                      << "The data in column 2 for CAB must be >= 0. ";
        QTest::newRow("other double negative") << 2 << 4 << QStringList{"UF_2", "-1", "DOUBLE"} << "";
        QTest::newRow("long -2") << 4 << 4 << QStringList{"QUANTITY", "-2", "LONG"}
                                 << "The data in column 4 for CAB must be >=0. ";
        QTest::newRow("long 3.5") << 4 << 4 << QStringList{"QUANTITY", "3.5", "LONG"} << "";
        QTest::newRow("long -0.4 rounds to 0") << 4 << 4 << QStringList{"QUANTITY", "-0.4", "LONG"} << "";
        QTest::newRow("long text") << 4 << 4 << QStringList{"SEQ_NUM", "x1", "LONG"}
                                   << "The data in column 4 for CAB can not be evaluated as a number. ";
        QTest::newRow("long empty") << 4 << 4 << QStringList{"SEQ_NUM", "", "LONG"}
                                    << "The data in column 4 for CAB can not be evaluated as a number. ";
        QTest::newRow("part empty") << 1 << 4 << QStringList{"PART", "", "TEXT"}
                                    << "There was no CAB data in column 1. ";
        QTest::newRow("other text empty") << 1 << 4 << QStringList{"MATERIAL", "", "TEXT"} << "";
        QTest::newRow("part present") << 1 << 4 << QStringList{"Part", "Side", "Text"} << "";
    }
    void check()
    {
        QFETCH(int, column);
        QFETCH(int, columns);
        QFETCH(QStringList, field);
        QFETCH(QString, message);
        std::string error;
        bool ok = CheckForValidData(column, columns, field[0].toStdString(), field[1].toStdString(),
                                    field[2].toStdString(), error, "CAB");
        QCOMPARE(ok, message.isEmpty());
        QCOMPARE(QString::fromStdString(error), message);
    }
};

QTEST_GUILESS_MAIN(TestRowValidation)
#include "tst_RowValidation.moc"
