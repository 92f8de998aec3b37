// The part drawing on the three screens that show parts, and part labels printed to PDF:
// marks at the right pixels, the drawing following the row in hand and its edits, the
// shown/hidden choice remembered, and labels counted, laid out and worded as chosen. With
// VX_SCREENSHOT_DIR set, the screens with their drawing are saved there as PNGs.
#include "../screens/ScreenTestTools.h"
#include "parts/frmCLTManualPartsEntry.h"
#include "parts/frmCLTPrintLabels.h"
#include "parts/frmCLTViewEditROPartsFile.h"
#include "ui/PartDrawing.h"
#include "ui/PrintDialog.h"

#include <QPrinter>

#include <filesystem>

using namespace vx;

namespace {
struct ViewEdit : vxtest::ScreenFixture<frmCLTViewEditROPartsFile> {
    // Three parts of length 100: scribes at 25 and 50, space balls at 10 and 90 on the first.
    std::string OpenParts()
    {
        std::string path = box.file("parts.rdb");
        std::filesystem::copy_file(vxtest::BinDir() + "/ROPartsFileTemplateDefault.mdb", path);
        Connection::Open(path)->Execute(
            "INSERT INTO tblParts (SEQ_NUM, Quantity, Thickness, Width, Length, Part, Material, Scribes, SpaceBalls, "
            "Panel) VALUES (1, 2, 0.75, 20, 100, 'SHELF', 'BIRCH PLY', '25|25', '10|80', 1),"
            "(2, 1, 0.25, 10, 100, 'BACK', 'HARDBOARD', '30|x', '', 0),"
            "(3, 1, 0.75, 5, 100, 'A PART NAME FAR TOO LONG FOR ANY LABEL ON ANY OF THE SHEETS', 'MDF', '', '', 0)");
        dialogs.answer(path);
        screen->cmdOpenFile_Click();
        screen->resize(1000, 700);
        screen->show();
        return path;
    }
    PartDrawing* drawing() const { return screen->findChild<PartDrawing*>("picPartDrawing"); }
    void Select(BoundGrid* grid, int row) { grid->setCurrentIndex(grid->model()->index(row, 1)); }
};

void Save(QWidget* screen, const char* name)
{
    QCoreApplication::processEvents();
    const QByteArray dir = qgetenv("VX_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(screen->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png"));
}

QColor Pixel(const QImage& image, qreal x, qreal y) { return image.pixelColor(int(x), int(y)); }
} // namespace

class tst_PartDrawing : public QObject {
    Q_OBJECT

private slots:
    void marksFollowTheRowInHand()
    {
        ViewEdit v;
        v.OpenParts();
        BoundGrid* grid = v.screen->partsGrid();
        v.Select(grid, 0);
        Save(v.screen, "frmCLTViewEditROPartsFile-drawing");
        QImage image = v.drawing()->grab().toImage();
        const QRectF bar = v.drawing()->barRect();
        QVERIFY(bar.width() > 500);
        QCOMPARE(Pixel(image, bar.left() + bar.width() * 0.25, bar.top() + 2).rgb(), PartDrawingColour::Scribe);
        QCOMPARE(Pixel(image, bar.left() + bar.width() * 0.5, bar.bottom() - 2).rgb(), PartDrawingColour::Scribe);
        QCOMPARE(Pixel(image, bar.left() + bar.width() * 0.3, bar.top() + 2).rgb(), PartDrawingColour::Bar);
        QCOMPARE(Pixel(image, bar.left() + bar.width() * 0.9, bar.center().y()).rgb(), PartDrawingColour::SpaceBall);

        // An edit of the row in hand redraws it; a refused list shows the check's message in red.
        grid->model()->setData(grid->model()->index(0, grid->recordSet()->ColumnIndex("Scribes")), "75");
        QCOMPARE(v.drawing()->part()->scribes, std::string("75"));
        v.Select(grid, 1);
        QCOMPARE(v.drawing()->part()->part, std::string("BACK"));
        image = v.drawing()->grab().toImage();
        bool red = false;
        for (int y = int(v.drawing()->barRect().bottom()) + 1; y < image.height() && !red; ++y)
            for (int x = 0; x < image.width() && !red; ++x)
                red = image.pixel(x, y) == PartDrawingColour::Problem;
        QVERIFY(red);

        // Hidden stays hidden on the next visit.
        vxtest::Child<QCheckBox>(v.screen, "chkShowPartDrawing")->click();
        QVERIFY(!v.drawing()->isVisible());
        frmCLTViewEditROPartsFile again(nullptr);
        QVERIFY(!vxtest::Child<QCheckBox>(&again, "chkShowPartDrawing")->isChecked());
    }

    void otherScreensDrawTheirRows()
    {
        vxtest::ConvertScreenFixture c("UPDATE tblSettings SET SettingValue = '1' WHERE SettingName = 'Scribes'");
        c.dialogs.answer(c.box.writeFile("job.csv", vxtest::ReadFile(vxtest::SourceDir() + "/examples/cutlist.csv")));
        c.screen->cmdOpenPartsFile_Click();
        c.screen->partsGrid()->setCurrentIndex(c.screen->partsGrid()->model()->index(0, 1));
        QVERIFY(c.screen->findChild<PartDrawing*>("picPartDrawing")->part().has_value());
        Save(c.screen, "frmCLTProcessPartsFile-drawing");

        auto* manual = new frmCLTManualPartsEntry(&c.menu);
        manual->Display();
        vxtest::Child<QLineEdit>(manual, "txtWidth")->setText("11.75");
        vxtest::Child<QLineEdit>(manual, "txtLength")->setText("30.5");
        vxtest::Child<QLineEdit>(manual, "txtScribes")->setText("3|4|12");
        vxtest::Click(manual, "cmdAddTheParts");
        manual->partsGrid()->setCurrentIndex(manual->partsGrid()->model()->index(0, 1));
        QCOMPARE(manual->findChild<PartDrawing*>("picPartDrawing")->part()->scribes, std::string("3|4|12"));
        Save(manual, "frmCLTManualPartsEntry-drawing");
        manual->Unload();
    }

    void labelsToPdf_data()
    {
        QTest::addColumn<int>("sheet");
        QTest::addColumn<bool>("perUnit");
        QTest::addColumn<bool>("selectedOnly");
        QTest::addColumn<int>("pages");
        QTest::newRow("label printer, one per row") << int(LabelSheet::OnePerPage) << false << false << 3;
        QTest::newRow("label printer, quantity of the selected row")
            << int(LabelSheet::OnePerPage) << true << true << 2;
        QTest::newRow("letter sheet of 24, by quantity") << int(LabelSheet::Letter_3x8) << true << false << 1;
    }
    void labelsToPdf()
    {
        QFETCH(int, sheet);
        QFETCH(bool, perUnit);
        QFETCH(bool, selectedOnly);
        QFETCH(int, pages);
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("pdfinfo and pdftotext (poppler-utils) are needed to read the labels");
        ViewEdit v;
        v.OpenParts();
        v.screen->partsGrid()->SelectRow(1);
        const QString pdf = QString::fromStdString(v.box.file("labels.pdf"));
        auto previous = SetPrintDialogHook([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frmCLTPrintLabels*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            vxtest::Child<QComboBox>(dialog, "cmboSheet")->setCurrentIndex(sheet);
            vxtest::Child<QRadioButton>(dialog, perUnit ? "optPerUnit" : "optPerRow")->click();
            vxtest::Child<QRadioButton>(dialog, selectedOnly ? "optSelectedRows" : "optAllRows")->click();
            vxtest::Click(dialog, "cmdPrint");
        });
        vxtest::Click(v.screen, "cmdPrintLabels");
        SetPrintDialogHook(previous);
        if (!qEnvironmentVariableIsEmpty("VX_SCREENSHOT_DIR"))
            QFile::copy(pdf, qEnvironmentVariable("VX_SCREENSHOT_DIR") + "/labels-" + QString::number(sheet) + ".pdf");

        QProcess info;
        info.start("pdfinfo", {pdf});
        QVERIFY(info.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Pages: +" + QString::number(pages) + "\n")));
        const QString text = vxtest::PdfText(pdf).simplified();
        for (const char* expected :
             {"SHELF", "100 × 20 × 0.75 BIRCH PLY", "#1 Cabinet Parts", "PANEL", "parts.rdb", "25 50"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QCOMPARE(text.contains("BACK"), !selectedOnly);
        QVERIFY(!text.contains("OF THE SHEETS"));
        QCOMPARE(text.contains("A PART NAME") && text.contains("..."), !selectedOnly);
        // Asked again, the dialog offers the sheet and the copies chosen last.
        frmCLTPrintLabels again(nullptr, 0);
        QCOMPARE(int(again.sheet()), sheet);
        QCOMPARE(again.perUnit(), perUnit);
    }
};

QTEST_MAIN(tst_PartDrawing)
#include "tst_PartDrawing.moc"
