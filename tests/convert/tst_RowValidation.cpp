// Every message of the value check, by data type and field name.
#include "convert/RowValidation.h"

#include <QtTest>

using namespace vx;

class TestRowValidation : public QObject {
    Q_OBJECT
private slots:
    void check_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::newRow("column missing") << 7 << 5 << "UF_1"
                                        << ""
                                        << "TEXT"
                                        << "CAB is mapped to column 7, but the "
                                           "column does not exist in this row. ";
        QTest::newRow("width 0") << 2 << 4 << "WIDTH"
                                 << "0"
                                 << "DOUBLE"
                                 << "The data in column 2 for CAB must be > 0. ";
        QTest::newRow("length negative") << 3 << 4 << "length"
                                         << "-1"
                                         << "double"
                                         << "The data in column 3 for CAB must be > 0. ";
        QTest::newRow("width text") << 2 << 4 << "WIDTH"
                                    << "abc"
                                    << "DOUBLE"
                                    << "The data in column 2 for CAB can not be evaluated as a number. ";
        QTest::newRow("thickness 0") << 2 << 4 << "THICKNESS"
                                     << "0"
                                     << "DOUBLE"
                                     << "";
        QTest::newRow("thickness -1") << 2 << 4 << "THICKNESS"
                                      << "-1"
                                      << "DOUBLE"
                                      << "The data in column 2 for CAB must be >= 0. ";
        QTest::newRow("other double negative") << 2 << 4 << "UF_2"
                                               << "-1"
                                               << "DOUBLE"
                                               << "";
        QTest::newRow("long -2") << 4 << 4 << "QUANTITY"
                                 << "-2"
                                 << "LONG"
                                 << "The data in column 4 for CAB must be >=0. ";
        QTest::newRow("long 3.5") << 4 << 4 << "QUANTITY"
                                  << "3.5"
                                  << "LONG"
                                  << "";
        QTest::newRow("long -0.4 rounds to 0") << 4 << 4 << "QUANTITY"
                                               << "-0.4"
                                               << "LONG"
                                               << "";
        QTest::newRow("long text") << 4 << 4 << "SEQ_NUM"
                                   << "x1"
                                   << "LONG"
                                   << "The data in column 4 for CAB can not be evaluated as a number. ";
        QTest::newRow("long empty") << 4 << 4 << "SEQ_NUM"
                                    << ""
                                    << "LONG"
                                    << "The data in column 4 for CAB can not be evaluated as a number. ";
        QTest::newRow("part empty") << 1 << 4 << "PART"
                                    << ""
                                    << "TEXT"
                                    << "There was no CAB data in column 1. ";
        QTest::newRow("other text empty") << 1 << 4 << "MATERIAL"
                                          << ""
                                          << "TEXT"
                                          << "";
        QTest::newRow("part present") << 1 << 4 << "Part"
                                      << "Side"
                                      << "Text"
                                      << "";
    }
    void check()
    {
        QFETCH(int, column);
        QFETCH(int, columns);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, type);
        QFETCH(QString, message);
        std::string error;
        bool ok = CheckForValidData(column, columns, field.toStdString(), value.toStdString(), type.toStdString(),
                                    error, "CAB");
        QCOMPARE(ok, message.isEmpty());
        QCOMPARE(QString::fromStdString(error), message);
    }
};

QTEST_GUILESS_MAIN(TestRowValidation)
#include "tst_RowValidation.moc"
