// The convert and mapping screens as a new operator meets them: typed criteria the table
// cannot hold are refused with a plain message.
#include "ScreenTestTools.h"
#include "TestSupport.h"
#include "convert/CriteriaCellCheck.h"
#include "convert/frmCLTProcessPartsFile.h"
#include "ui/BoundGrid.h"

#include <QtTest>

using namespace vx;

class tst_OperatorGuidance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void criteriaCellCheck_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        const QString ballsRefused = "Space_Ball_Loc must be a number >= 0.";
        const QString processRefused = "Process must be a whole number >= 1.";
        QTest::newRow("balls number") << "Space_Ball_Loc" << " 2.5 " << "";
        QTest::newRow("balls zero") << "Space_Ball_Loc" << "0" << "";
        QTest::newRow("balls text") << "Space_Ball_Loc" << "abc" << ballsRefused;
        QTest::newRow("balls negative") << "Space_Ball_Loc" << "-1" << ballsRefused;
        QTest::newRow("balls blank") << "Space_Ball_Loc" << "  " << ballsRefused;
        QTest::newRow("width text") << "Min_Panel_Width" << "1,5" << "Min_Panel_Width must be a number >= 0.";
        QTest::newRow("process whole") << "Process" << "2" << "";
        QTest::newRow("process fraction") << "Process" << "2.5" << processRefused;
        QTest::newRow("process zero") << "Process" << "0" << processRefused;
        QTest::newRow("process beyond 32 bits") << "Process" << "3000000000" << processRefused;
        QTest::newRow("part text") << "Part" << "abc" << "";
    }
    void criteriaCellCheck()
    {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        std::optional<std::string> got = CriteriaCellRefusal(column.toStdString(), typed.toStdString());
        QCOMPARE(QString::fromStdString(got.value_or("")), refusal);
    }

    // The convert screen's grid shows the message and keeps the old value.
    void criteriaGridRefusesTypedText()
    {
        vxtest::RuntimeSandbox box;
        vxtest::UseSettingsFolder(box.file("settings"));
        vxtest::ScriptedPresenter presenter;
        QWidget mainMenu;
        frmCLTProcessPartsFile screen(&mainMenu);
        screen.Display(false);
        BoundGridModel* model = screen.criteriaGrid()->gridModel();
        QModelIndex cell = model->index(0, screen.criteriaGrid()->recordSet()->ColumnIndex("Space_Ball_Loc"));
        QString before = model->data(cell, Qt::DisplayRole).toString();
        QVERIFY(!model->setData(cell, "abc", Qt::EditRole));
        QCOMPARE(model->data(cell, Qt::DisplayRole).toString(), before);
        QCOMPARE(presenter.prompts.size(), size_t(1));
        QCOMPARE(presenter.prompts[0].text, std::string("Space_Ball_Loc must be a number >= 0."));
        screen.CommandLineShutdown();
    }
};

QTEST_MAIN(tst_OperatorGuidance)
#include "tst_OperatorGuidance.moc"
