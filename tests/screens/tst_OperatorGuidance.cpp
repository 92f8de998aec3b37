// The convert and mapping screens as a new operator meets them: questions never under the
// progress dialog, Cancel that stops at once, "to All" answers, rows numbered alike in both
// screens with a summary in the log, and typed criteria refused with a plain message.
#include "ScreenTestTools.h"
#include "base/ErrorLog.h"
#include "convert/CriteriaCellCheck.h"
#include "convert/WorkingDatabaseLock.h"
#include "mapping/ExampleFile.h"
#include "screens/frmCLTErrorLog.h"
#include "ui/LockWaitDialog.h"
#include "ui/MessageBoxPresenter.h"

using namespace vx;

namespace {

const std::string kHeading = "Seq,Part,Material,Thick,Width,Length,Qty,Scribes,Cabinet,Edge\r\n";

// A cut list of the factory mapping whose parts are all new: NEW 1 .. NEW n.
std::string NewParts(int count)
{
    std::string text = kHeading;
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i) + ",NEW " + std::to_string(i) + ",OAK,0.75,10,20,1,,B1,\r\n";
    return text;
}

struct ConvertScreen : vxtest::ConvertScreenFixture {
    void open(const std::string& bytes, bool ask = true)
    {
        screen->findChild<QCheckBox*>("chkAskIfValid")->setChecked(ask);
        dialogs.answer(box.writeFile("job.csv", bytes));
        vxtest::Click(screen, "cmdOpenPartsFile");
    }
    std::string validity() const
    {
        return vxtest::QueryScalar(box.defDatabase(), "SELECT group_concat(Valid_Part, '') FROM (SELECT Valid_Part "
                                                      "FROM tblPartsCriteria WHERE Part LIKE 'NEW %' ORDER BY Part)");
    }
};

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
        auto row = [](const char* name, const char* column, const char* typed, const char* refusal) {
            QTest::newRow(name) << QString(column) << QString(typed) << QString(refusal);
        };
        row("number", "Space_Ball_Loc", " 2.5 ", "");
        row("text", "Space_Ball_Loc", "abc", "Space_Ball_Loc must be a number >= 0.");
        row("negative", "Min_Panel_Width", "-1", "Min_Panel_Width must be a number >= 0.");
        row("fraction", "Process", "2.5", "Process must be a whole number >= 1.");
        row("beyond 32 bits", "Process", "3000000000", "Process must be a whole number >= 1.");
    }
    void criteriaCellCheck()
    {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QCOMPARE(QString::fromStdString(CriteriaCellRefusal(column.toStdString(), typed.toStdString()).value_or("")),
                 refusal);
    }

    // Each question is answered in a real message box, which the progress dialog (once shown
    // by its own timer in the middle of the first question) never covers.
    void toAllAnswersAboveProgress_data()
    {
        QTest::addColumn<QList<int>>("buttons");
        QTest::addColumn<QString>("validity");
        QTest::newRow("Yes to All") << QList<int>{QMessageBox::YesToAll} << "111";
        QTest::newRow("Yes, then No to All") << QList<int>{QMessageBox::Yes, QMessageBox::NoToAll} << "100";
    }
    void toAllAnswersAboveProgress()
    {
        QFETCH(QList<int>, buttons);
        QFETCH(QString, validity);
        ConvertScreen f;
        int questions = 0;
        bool progressHidden = true;
        std::string first;
        SetMessagePresenter([&](const std::string& prompt, int style, const std::string& title) {
            if (!questions)
                first = title + "|" + prompt;
            QTimer::singleShot(0, [&, button = buttons.value(questions, QMessageBox::No)] { // No to a question too many
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QTest::qWait(700);
                auto* progress = f.screen->findChild<QProgressDialog*>();
                progressHidden = progressHidden && box && progress && !progress->isVisible() && box->isVisible();
                box->button(QMessageBox::StandardButton(button))->click();
            });
            ++questions;
            return PresentMessageBox(QString::fromStdString(prompt), style, QString::fromStdString(title));
        });
        f.open(NewParts(3));
        SetMessagePresenter({});
        QVERIFY(progressHidden);
        QCOMPARE(questions, buttons.size());
        QCOMPARE(first,
                 "New Part Name|The Part name: 'NEW 1' is a new Part Name. Would you like this Part output to the "
                 "Veltrax?");
        QCOMPARE(QString::fromStdString(f.validity()), validity);
    }

    void cancelStopsReadingAtOnce()
    {
        ConvertScreen f;
        std::vector<std::string> prompts;
        SetMessagePresenter([&](const std::string& prompt, int, const std::string&) {
            prompts.push_back(prompt);
            if (auto* progress = f.screen->findChild<QProgressDialog*>())
                progress->cancel(); // pressed while the question was open
            return int(vbYes);
        });
        f.open(NewParts(4));
        SetMessagePresenter({});
        QCOMPARE(prompts.size(), size_t(2));
        QCOMPARE(prompts[1], std::string(kReadingCancelledMessage));
        QCOMPARE(f.screen->session().PartsCount(), 0);
        QCOMPARE(f.screen->partsGrid()->Rows(), 1);
        QCOMPARE(f.validity(), "1"); // the answer given is kept
    }

    // Another program's conversion holds the working databases: opening a cut list says at
    // once what it waits for, and Cancel ends the wait with the usual message.
    void lockWaitShownAtOnceWithCancel()
    {
        ConvertScreen f;
        LockWaitDialog::Install();
        WorkingDatabaseLock other(f.box.runtimeFolder());
        QString shown;
        QTimer::singleShot(300, [&] { // the wait would last 60 s
            if (auto* wait = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
                shown = wait->labelText();
                QTest::mouseClick(wait->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        QElapsedTimer clock;
        clock.start();
        f.open(NewParts(2), false);
        SetLockWaitDisplay(nullptr);
        QCOMPARE(shown, QString::fromStdString(WaitingText("the working databases in " + f.box.runtimeFolder())));
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(f.presenter.prompts.at(0).text.starts_with("Error: 3260, Another conversion is using"));
    }

    // A line of only delimiters no longer stops the mapping; one bad line has one row number;
    // the log window opens with the summary; the written file is named on the screen.
    void rowsCountedAlikeAndReported()
    {
        ConvertScreen f;
        frmCLTErrorLog logWindow;
        logWindow.InstallAsViewer();
        const std::string bytes = kHeading + ",,,,\r\n1,A,OAK,1,abc,20,1,,,\r\n2,B,OAK,1,abc,20,1,,,\r\n" +
                                  "3,C,OAK,1,10,x,1,,,\r\n4,D,OAK,1,10,20,1,,,\r\n";
        ExampleTable example;
        bool isError = true;
        ParseTheCommaDelimitedPartsFile(f.box.writeFile("example.csv", bytes), ",", 1, example, isError);
        QCOMPARE(example.LineNumbers, std::vector<int>({2, 3, 4, 5}));

        f.open(bytes, false);
        QVERIFY(vxtest::Contains(TheErrorLog().Text(), "found in row 2 of the parts file, the data in this row was "
                                                       "ignored.\r\n\r\nThe row contains: 1,A,OAK"));
        const QString summary = "3 of 4 rows were rejected. Most frequent reason (2 rows): The data in column 5 for "
                                "WIDTH can not be evaluated as a number.";
        QVERIFY(logWindow.LogText().startsWith(summary + "\n"));
        QVERIFY(!vxtest::Contains(TheErrorLog().Text(), "rejected")); // the console copy is as it was

        const std::string out = f.box.file("job.rdb");
        f.dialogs.answer(out);
        vxtest::Click(f.screen, "cmdCreateROPartsFile");
        QCOMPARE(f.screen->findChild<QLabel*>("lblWritten")->text().toStdString(), "Written: 1 part to " + out);
    }
};

QTEST_MAIN(tst_OperatorGuidance)
#include "tst_OperatorGuidance.moc"
