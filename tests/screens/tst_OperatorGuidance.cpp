// The convert and mapping screens as a new operator meets them: questions never hidden by
// the progress dialog, Cancel that stops at once, rows numbered alike in both screens,
// "to All" answers, plain messages for refused criteria, incomplete mappings and the
// first process, and the log's summary and the written-files status line.
#include "ScreenTestTools.h"
#include "TestSupport.h"
#include "config/modCLTSettings.h"
#include "convert/CriteriaCellCheck.h"
#include "convert/frmCLTProcessPartsFile.h"
#include "mapping/ExampleFile.h"
#include "mapping/frmCLTPartsListMapping.h"
#include "screens/ErrorLog.h"
#include "screens/frmCLTErrorLog.h"
#include "screens/frmCLTPartsCriteriaDelete.h"
#include "start/Messages.h"
#include "ui/BoundGrid.h"
#include "ui/MessageBoxPresenter.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QRadioButton>
#include <QtTest>

using namespace vx;
using vxtest::Click;
using vxtest::QueryColumn;

namespace {

const std::string kHeading = "Seq,Part,Material,Thick,Width,Length,Qty,Scribes,Cabinet,Edge\r\n";

// A cut list of the factory mapping whose parts are all new: NEW 1 .. NEW n.
std::string NewParts(int count)
{
    std::string text = kHeading;
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i) + ",NEW " + std::to_string(i) + ",MAPLE PLY,0.75,10,20,1,,B1,\r\n";
    return text;
}

// The convert screen on a fresh runtime folder, opening files through scripted dialogs.
struct ConvertScreen {
    vxtest::RuntimeSandbox box;
    vxtest::ScriptedFileDialogs dialogs;
    QWidget menu;
    frmCLTProcessPartsFile screen{&menu};

    ConvertScreen()
    {
        vxtest::UseSettingsFolder(box.file("settings"));
        LoadSettings();
        screen.Display(true);
    }
    ~ConvertScreen() { screen.CommandLineShutdown(); }
    void open(const std::string& bytes, bool ask = true)
    {
        screen.findChild<QCheckBox*>("chkAskIfValid")->setChecked(ask);
        dialogs.answer(box.writeFile("job.csv", bytes));
        Click(&screen, "cmdOpenPartsFile");
    }
    std::vector<std::string> validity() const
    {
        return QueryColumn(box.defDatabase(), "SELECT Valid_Part FROM tblPartsCriteria WHERE Part LIKE 'NEW %' "
                                              "ORDER BY Part");
    }
};

int CountTitled(const std::vector<vxtest::ScriptedPresenter::Prompt>& prompts, const std::string& title)
{
    return static_cast<int>(std::count_if(prompts.begin(), prompts.end(), [&](auto& p) { return p.title == title; }));
}

} // namespace

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
        QTest::newRow("balls number") << "Space_Ball_Loc"
                                      << " 2.5 "
                                      << "";
        QTest::newRow("balls zero") << "Space_Ball_Loc"
                                    << "0"
                                    << "";
        QTest::newRow("balls text") << "Space_Ball_Loc"
                                    << "abc" << ballsRefused;
        QTest::newRow("balls negative") << "Space_Ball_Loc"
                                        << "-1" << ballsRefused;
        QTest::newRow("balls blank") << "Space_Ball_Loc"
                                     << "  " << ballsRefused;
        QTest::newRow("width text") << "Min_Panel_Width"
                                    << "1,5"
                                    << "Min_Panel_Width must be a number >= 0.";
        QTest::newRow("process whole") << "Process"
                                       << "2"
                                       << "";
        QTest::newRow("process fraction") << "Process"
                                          << "2.5" << processRefused;
        QTest::newRow("process zero") << "Process"
                                      << "0" << processRefused;
        QTest::newRow("process beyond 32 bits") << "Process"
                                                << "3000000000" << processRefused;
        QTest::newRow("part text") << "Part"
                                   << "abc"
                                   << "";
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

    // The progress dialog's own timer once showed it over the first question.
    void questionStaysAboveProgress()
    {
        ConvertScreen f;
        int questions = 0;
        bool progressHidden = false;
        SetMessagePresenter([&](const std::string& prompt, int style, const std::string& title) {
            ++questions;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QTest::qWait(700);
                auto* progress = f.screen.findChild<QProgressDialog*>();
                progressHidden = progress && !progress->isVisible() && box->isVisible();
                box->button(QMessageBox::YesToAll)->click();
            });
            return PresentMessageBox(QString::fromStdString(prompt), style, QString::fromStdString(title));
        });
        f.open(NewParts(3));
        SetMessagePresenter({});
        QVERIFY(progressHidden);
        QCOMPARE(questions, 1);
        QCOMPARE(f.validity(), std::vector<std::string>(3, "1"));
    }

    void cancelStopsReadingAtOnce()
    {
        ConvertScreen f;
        std::vector<std::string> prompts;
        SetMessagePresenter([&](const std::string& prompt, int, const std::string&) {
            prompts.push_back(prompt);
            if (auto* progress = f.screen.findChild<QProgressDialog*>())
                progress->cancel(); // pressed while the first question was being answered
            return int(vbYes);
        });
        f.open(NewParts(4));
        SetMessagePresenter({});
        QCOMPARE(prompts.size(), size_t(2));
        QCOMPARE(prompts[1], std::string(kReadingCancelledMessage));
        QCOMPARE(
            f.screen.session().connection()->ScalarQuery("SELECT count(*) FROM tblPartsFileProcessTemplate").toText(),
            std::string("0"));
        QCOMPARE(f.screen.partsGrid()->Rows(), 1);
        QVERIFY(f.screen.findChild<QLabel*>("lblFileOpened")->text().isEmpty());
        QCOMPARE(f.validity(), std::vector<std::string>{"1"}); // the answer given stays
    }

    void toAllAnswers_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("validity");
        QTest::newRow("Yes and No keep their meaning") << QList<int>{vbYes, vbNo, vbNo, vbYes} << 4 << "1001";
        QTest::newRow("Yes to All after a No") << QList<int>{vbNo, vbYesToAll} << 2 << "0111";
        QTest::newRow("No to All") << QList<int>{vbNoToAll} << 1 << "0000";
    }
    void toAllAnswers()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, questions);
        QFETCH(QString, validity);
        ConvertScreen f;
        vxtest::ScriptedPresenter presenter;
        for (int a : answers)
            presenter.answer(a);
        f.open(NewParts(4));
        QCOMPARE(CountTitled(presenter.prompts, "New Part Name"), questions);
        QCOMPARE(presenter.prompts.front().style, int(vbYesNoToAll));
        std::string got;
        for (const std::string& v : f.validity())
            got += v;
        QCOMPARE(QString::fromStdString(got), validity);
        QCOMPARE(f.screen.partsGrid()->Rows(), 5);
    }

    // A line of only delimiters no longer stops the mapping; one bad line has one row number,
    // the log window opens with the summary, and the written file is named on the screen.
    void rowsCountedAlikeAndReported()
    {
        ConvertScreen f;
        vxtest::ScriptedPresenter presenter;
        frmCLTErrorLog logWindow;
        logWindow.InstallAsViewer();
        const std::string bytes = kHeading + ",,,,\r\n" + "1,A,OAK,1,abc,20,1,,B1,\r\n" +
                                  "2,B,OAK,1,abc,20,1,,B1,\r\n" + "3,C,OAK,1,10,x,1,,B1,\r\n" +
                                  "4,D,OAK,1,10,20,1,,B1,\r\n";
        ExampleTable example;
        bool isError = true;
        ParseTheCommaDelimitedPartsFile(f.box.writeFile("example.csv", bytes), ",", 1, example, isError);
        QVERIFY(!isError);
        QCOMPARE(example.LineNumbers, std::vector<int>({2, 3, 4, 5}));

        f.open(bytes, false);
        const std::string log = TheErrorLog().Text();
        QVERIFY(vxtest::Contains(log, "found in row 2 of the parts file"));
        QVERIFY(vxtest::Contains(log, "The row contains: 1,A,OAK,1,abc"));
        const QString summary = "3 of 4 rows were rejected. Most frequent reason (2 rows): The data in column 5 for "
                                "WIDTH can not be evaluated as a number.";
        QVERIFY(logWindow.LogText().startsWith(summary + "\n"));
        QVERIFY(!vxtest::Contains(log, summary.toStdString())); // the console copy stays as it was

        const std::string out = f.box.file("job.rdb");
        f.dialogs.answer(out);
        Click(&f.screen, "cmdCreateROPartsFile");
        QCOMPARE(f.screen.findChild<QLabel*>("lblWritten")->text().toStdString(), "Written: 1 part to " + out);
    }

    void lengthConversionOffersReading_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("length");
        QTest::newRow("Yes reads the file again") << int(vbYes) << "508";
        QTest::newRow("No keeps the rows") << int(vbNo) << "20";
    }
    void lengthConversionOffersReading()
    {
        QFETCH(int, answer);
        QFETCH(QString, length);
        ConvertScreen f;
        vxtest::ScriptedPresenter presenter;
        f.open(NewParts(1), false);
        presenter.answer(answer);
        f.screen.findChild<QRadioButton*>("optLengthConversion_1")->click();
        QCOMPARE(presenter.prompts.size(), size_t(1));
        QCOMPARE(presenter.prompts[0].title, std::string("Length Conversion"));
        QCOMPARE(QString::fromStdString(f.screen.session()
                                            .connection()
                                            ->ScalarQuery("SELECT LENGTH FROM tblPartsFileProcessTemplate")
                                            .toText()),
                 length);
    }

    // Rows separated by "|", a row's reasons by ";".
    void summaryLine_data()
    {
        QTest::addColumn<QString>("rejected");
        QTest::addColumn<int>("accepted");
        QTest::addColumn<QString>("line");
        QTest::newRow("most frequent") << "W. |W. ;L. |L. |W. " << 1
                                       << "4 of 5 rows were rejected. Most frequent reason "
                                          "(3 rows): W.";
        QTest::newRow("a reason twice in one row counts once") << "W. ;W. " << 0
                                                               << "1 of 1 row was rejected. Most "
                                                                  "frequent reason (1 row): W.";
        QTest::newRow("a tie goes to the first met") << "L. |W. |W. |L. " << 0
                                                     << "4 of 4 rows were rejected. Most "
                                                        "frequent reason (2 rows): L.";
        QTest::newRow("all different") << "W. |L. " << 2 << "2 of 4 rows were rejected, each for a reason of its own.";
    }
    void summaryLine()
    {
        QFETCH(QString, rejected);
        QFETCH(int, accepted);
        QFETCH(QString, line);
        RejectionSummary summary;
        for (const QString& row : rejected.split(u'|')) {
            std::vector<std::string> reasons;
            for (const QString& reason : row.split(u';'))
                reasons.push_back(reason.toStdString());
            summary.Add(reasons);
        }
        QCOMPARE(QString::fromStdString(summary.Line(accepted)), line);
    }

    void incompleteMappingAsksBeforeSaving_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saved");
        QTest::newRow("No keeps the screen open") << int(vbNo) << false;
        QTest::newRow("Yes saves") << int(vbYes) << true;
    }
    void incompleteMappingAsksBeforeSaving()
    {
        QFETCH(int, answer);
        QFETCH(bool, saved);
        vxtest::RuntimeSandbox box;
        vxtest::UseSettingsFolder(box.file("settings"));
        vxtest::ScriptedPresenter presenter;
        vxtest::ScriptedFileDialogs dialogs;
        LoadSettings();
        QWidget menu;
        QPointer<frmCLTPartsListMapping> screen = new frmCLTPartsListMapping(&menu);
        screen->Display();
        dialogs.answer(box.writeFile("example.csv", "1,SIDE,OAK\r\n2,TOP,OAK\r\n"));
        Click(screen, "cmdOpenFile");
        presenter.prompts.clear();
        presenter.answer(answer);
        Click(screen, "cmdSaveMapping");
        vxtest::Settle();
        QCOMPARE(presenter.prompts.front().text,
                 std::string("The mapping is incomplete (no column for WIDTH, LENGTH). Save anyway?"));
        QCOMPARE(screen.isNull(), saved);
        delete screen;
        vxtest::Settle();
    }

    void firstProcessSaysWhyItStays()
    {
        vxtest::RuntimeSandbox box;
        vxtest::ScriptedPresenter presenter;
        frmCLTPartsCriteriaDelete screen(nullptr);
        screen.setAttribute(Qt::WA_DeleteOnClose, false);
        screen.Display();
        screen.processesGrid()->SelectRow(1);
        Click(&screen, "cmdDelete3");
        QCOMPARE(presenter.prompts.size(), size_t(1));
        QCOMPARE(presenter.prompts[0].text,
                 std::string("The first process, Cabinet Parts, can not be deleted: parts "
                             "without a process of their own go to it. Nothing was deleted."));
    }
};

QTEST_MAIN(tst_OperatorGuidance)
#include "tst_OperatorGuidance.moc"
