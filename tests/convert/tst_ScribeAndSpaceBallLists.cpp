// The list operations behind scribes and space balls: conversion, cleaning, mirroring,
// the list checks and the space-ball computation.
#include "convert/modCLTScribes.h"
#include "convert/modCLTSpaceBalls.h"

#include <QtTest>

using namespace vx;

class TestScribeAndSpaceBallLists : public QObject {
    Q_OBJECT
private slots:
    void convertScribeUnits_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero and text dropped") << "10|0|abc|20" << 25.4 << 3 << "254|508";
        QTest::newRow("negative dropped") << "-5|5" << 25.4 << 3 << "127";
        QTest::newRow("blank list") << "  " << 25.4 << 3 << "";
        QTest::newRow("mm to inches") << "25.4|10" << 1 / 25.4 << 4 << "1|0.3937";
        QTest::newRow("half to even") << "0.00125" << 1.0 << 4 << "0.0012";
    }
    void convertScribeUnits()
    {
        QFETCH(QString, list);
        QFETCH(double, factor);
        QFETCH(int, places);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(ConvertScribeUnits(list.toStdString(), factor, places)), expected);
    }

    // Each row: {operation, list}, the part length and the list afterwards.
    void cleaning_data()
    {
        QTest::addColumn<QStringList>("call");
        QTest::addColumn<double>("length");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zeros removed") << QStringList{"zeros", "0|12|0|30"} << 0.0 << "12|30";
        QTest::newRow("single zero stays") << QStringList{"zeros", "0"} << 0.0 << "0";
        QTest::newRow("only zeros") << QStringList{"zeros", "0|0"} << 0.0 << "";
        QTest::newRow("text entry kept for the check") << QStringList{"zeros", "12|abc|0"} << 0.0 << "12|abc";
        QTest::newRow("end scribe within 0.3") << QStringList{"removeEnd", "40|59.8"} << 100.0 << "40";
        QTest::newRow("end scribe inside") << QStringList{"removeEnd", "40|59"} << 100.0 << "40|59";
        QTest::newRow("end scribe beyond the end") << QStringList{"removeEnd", "60|50"} << 100.0 << "60";
        QTest::newRow("single entry kept") << QStringList{"removeEnd", "100"} << 100.0 << "100";
        QTest::newRow("add: sum below 0.2") << QStringList{"addEnd", "0.1"} << 100.0 << "0.1";
        QTest::newRow("add: gap below 0.3") << QStringList{"addEnd", "99.8"} << 100.0 << "99.8";
        QTest::newRow("add: gap rounded") << QStringList{"addEnd", "20|30.00049"} << 100.0 << "20|30.00049|50";
        QTest::newRow("add: beyond the end") << QStringList{"addEnd", "150"} << 100.0 << "150";
        QTest::newRow("add: empty") << QStringList{"addEnd", ""} << 100.0 << "";
        QTest::newRow("reverse") << QStringList{"reverse", "1|2|3"} << 0.0 << "3|2|1";
        QTest::newRow("reverse single") << QStringList{"reverse", "5"} << 0.0 << "5";
        QTest::newRow("mirror") << QStringList{"mirror", "20|30"} << 100.0 << "50|30";
        QTest::newRow("mirror single") << QStringList{"mirror", "25"} << 100.0 << "75";
    }
    void cleaning()
    {
        QFETCH(QStringList, call);
        QFETCH(double, length);
        QFETCH(QString, expected);
        const QString operation = call[0];
        std::string l = call[1].toStdString(), result;
        if (operation == "zeros")
            result = RemoveZeros(l);
        else if (operation == "removeEnd")
            result = CheckForRemoveEndScribe(l, length);
        else if (operation == "addEnd")
            result = CheckForAddEndScribe(l, length);
        else if (operation == "reverse")
            result = ReverseTheScribes(l);
        else
            result = MirrorScribes(l, length);
        QCOMPARE(QString::fromStdString(result), expected);
    }

    void listChecks_data()
    {
        QTest::addColumn<bool>("scribes");
        QTest::addColumn<QString>("list");
        QTest::addColumn<double>("length");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty scribes") << true << "" << 10.0 << "";
        QTest::newRow("exactly the length") << true << "50|50" << 100.0 << "";
        QTest::newRow("just beyond") << true << "50|50.01" << 100.0
                                     << "The last absolute Scribe position (sum of incremental positions) exceeds "
                                        "the part length.";
        QTest::newRow("text after a long entry")
            << true << "200|abc" << 100.0 << "A Scribe Location can not be evaluated as a number.";
        QTest::newRow("negative") << true << "10|-1" << 100.0 << "A Scribe Location value is < 0.";
        QTest::newRow("empty space balls") << false << " " << 10.0 << "";
        QTest::newRow("space ball text") << false << "x" << 100.0
                                         << "A Space Ball location can not be evaluated as a number.";
        QTest::newRow("space ball negative") << false << "-2" << 100.0 << "A Space Ball location is < 0.";
        QTest::newRow("space balls beyond") << false << "60|60" << 100.0
                                            << "The last absolute Space Ball position (sum of incremental positions) "
                                               "exceeds the part length.";
    }
    void listChecks()
    {
        QFETCH(bool, scribes);
        QFETCH(QString, list);
        QFETCH(double, length);
        QFETCH(QString, error);
        bool flag = false;
        std::string text = "stale";
        if (scribes)
            CheckScribeList(list.toStdString(), flag, text, length);
        else
            CheckSpaceBallList(list.toStdString(), flag, text, length);
        QCOMPARE(flag, !error.isEmpty());
        QCOMPARE(QString::fromStdString(text), error);
    }

    // Each row: the two lengths entered and either "ok: " and the texts kept, or the message.
    void extraSpaceBalls_data()
    {
        QTest::addColumn<QStringList>("entered");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("both empty") << QStringList{"", "  "} << "ok: |";
        QTest::newRow("normalised") << QStringList{" 800.50 ", "1200"} << "ok: 800.5|1200";
        QTest::newRow("three only, four empty") << QStringList{"800", ""} << "ok: 800|";
        QTest::newRow("text")
            << QStringList{"abc", ""}
            << "Length given for extra space balls can not be evaluated as a number, please re-enter.";
        QTest::newRow("negative") << QStringList{"", "-1"}
                                  << "Length given for extra space balls must be >=0 , please re-enter.";
        QTest::newRow("four below three")
            << QStringList{"1200", "800"}
            << "Length given for 4 extra space balls must be >= Length given for 3 extra space balls, please "
               "re-enter.";
    }
    void extraSpaceBalls()
    {
        QFETCH(QStringList, entered);
        QFETCH(QString, outcome);
        std::array<std::string, 2> t{entered[0].toStdString(), entered[1].toStdString()};
        std::array<double, 2> lengths{};
        std::string message;
        const bool ok = CheckExtraSpaceBalls(t, lengths, message);
        QCOMPARE(ok, message.empty());
        QCOMPARE(QString::fromStdString(ok ? "ok: " + t[0] + "|" + t[1] : message), outcome);
    }

    void calculateSpaceBalls_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("location");
        QTest::addColumn<double>("t3");
        QTest::addColumn<double>("t4");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three balls") << 1000.0 << 50.0 << 800.0 << 1200.0 << "50.00|450.00|450.00";
        QTest::newRow("four balls from the 4-ball length on")
            << 1200.0 << 50.0 << 800.0 << 1200.0 << "50.00|366.67|366.67|366.67";
        QTest::newRow("two balls without thresholds") << 1500.0 << 50.0 << 1e6 << 1e6 << "50.00|1400.00";
        QTest::newRow("two balls below the 3-ball length") << 700.0 << 2.5 << 800.0 << 1200.0 << "2.50|695.00";
        QTest::newRow("no location") << 1000.0 << 0.0 << 800.0 << 1200.0 << "";
        QTest::newRow("location at the middle") << 100.0 << 50.0 << 1e6 << 1e6 << "";
        QTest::newRow("leading zero") << 10.0 << 0.5 << 1e6 << 1e6 << "0.50|9.00";
    }
    void calculateSpaceBalls()
    {
        QFETCH(double, length);
        QFETCH(double, location);
        QFETCH(double, t3);
        QFETCH(double, t4);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(CalculateSpaceBalls(length, location, {t3, t4})), expected);
    }
};

QTEST_GUILESS_MAIN(TestScribeAndSpaceBallLists)
#include "tst_ScribeAndSpaceBallLists.moc"
