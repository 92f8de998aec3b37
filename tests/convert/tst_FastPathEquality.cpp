// The console's conversion writes the valid rows straight into the parts file; it must give
// the same parts file, learned names and messages as the way through the working table.
#include "ConvertTestTools.h"

#include <QtTest>

using namespace vx;
using namespace convtest;

namespace {
// Every row of a table, each value quoted as SQLite stores it (so 1, 1.0 and '1' differ).
QStringList Dump(const std::string& db, const std::string& table)
{
    std::string row;
    for (const std::string& column : vxtest::QueryColumn(db, "SELECT name FROM pragma_table_info('" + table + "')"))
        row += (row.empty() ? "" : " || '|' || ") + std::string("quote(") + SqlName(column) + ")";
    return ToList(vxtest::QueryColumn(db, "SELECT " + row + " FROM " + table + " ORDER BY rowid"));
}

struct Outcome {
    QStringList files; // parts file, labels, learned names, then the console's messages
    bool workingTableUsed = false;
};

Outcome Convert(const QString& lines, int units, const QString& templateSql, bool straight)
{
    SessionFixture f; // the console's: messages go to the console, bad rows are skipped
    State().CommandLineMode = true;
    State().AllowBadRows = true;
    SetMachine(1, true, true, true);
    std::string input = f.sandbox.writeFile("job.csv", lines.toStdString());
    f.sandbox.execDef("INSERT INTO tblPartsCriteria (Part, Valid_Part, Process, Switch_Dims) VALUES "
                      "('P', 1, 1, 0), ('X', 0, 1, 0), ('S', 1, 2, 1)");
    if (!templateSql.isEmpty())
        Connection::Open(f.sandbox.templateDatabase())->Execute(templateSql.toStdString());
    Outcome o;
    if (!f.prepare({{"PART", 1}, {"MATERIAL", 2}, {"WIDTH", 3}, {"LENGTH", 4}, {"SCRIBES", 5}, {"UF_1", 6}}))
        return o;
    f.session.LengthConversion = units;
    std::string target = f.sandbox.file("out.rdb");
    if (straight)
        f.session.WriteRowsStraightTo(target);
    bool read = f.session.AUTOOpenPartsFile(input, "job.csv");
    o.workingTableUsed = f.session.PartsCount() > 0 && WorkingColumn(f.session, "AutoIDNum").size() > 0;
    bool written = read && f.session.AUTOCreateROPartsFile(target);
    o.files << QString::number(read) << QString::number(written);
    o.files << Dump(target, "tblParts") << Dump(target, "tblUserLabels") << Dump(f.sandbox.defDatabase(), "tblPartsCriteria")
            << Dump(f.sandbox.defDatabase(), "tblMaterials");
    o.files << ToList(f.sandbox.err);
    return o;
}
} // namespace

class TestFastPathEquality : public QObject {
    Q_OBJECT
private slots:
    void sameAsThroughTheWorkingTable_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("templateSql");
        QTest::addColumn<bool>("straight"); // whether the rows may skip the working table

        const QString job = "P,OAK,12.5,30,10|10,A\r\nX,OAK,1,2,,B\r\nS,,40,3,1|1,7\r\nNEW,WALNUT,2.25,5,,\r\n"
                            "P,oak,1e1,0.1234567,,'q\r\nP,OAK,abc,2,,bad\r\n";
        QTest::newRow("criteria, new names, a rejected row") << job << 0 << QString() << true;
        QTest::newRow("inches to millimetres") << job << 1 << QString() << true;
        QTest::newRow("millimetres to inches") << job << 2 << QString() << true;
        QTest::newRow("only rows the criteria reject") << "X,OAK,1,2,,\r\n" << 0 << QString() << true;
        // A template storing a column with another affinity than the working table gets
        // the rows through the working table.
        QTest::newRow("template with other affinities")
            << job << 0
            << "DROP TABLE tblParts; CREATE TABLE tblParts (AutoIDNum INTEGER PRIMARY KEY AUTOINCREMENT, Part TEXT, "
               "Material TEXT, Thickness TEXT, Width TEXT, Length REAL, Scribes TEXT, SpaceBalls TEXT, UF_1 INTEGER, FileName TEXT)"
            << false;
    }

    void sameAsThroughTheWorkingTable()
    {
        QFETCH(QString, lines);
        QFETCH(int, units);
        QFETCH(QString, templateSql);
        QFETCH(bool, straight);
        Outcome before = Convert(lines, units, templateSql, false);
        Outcome after = Convert(lines, units, templateSql, true);
        QVERIFY(before.files.size() > 6);
        QCOMPARE(after.files, before.files);
        QVERIFY(before.workingTableUsed);
        QCOMPARE(after.workingTableUsed, !straight);
    }
};

QTEST_GUILESS_MAIN(TestFastPathEquality)
#include "tst_FastPathEquality.moc"
