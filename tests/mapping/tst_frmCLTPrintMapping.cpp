// The print mapping screen: printing the saved mapping through the print dialog to a PDF
// file whose text is read back; the way there and back from the main menu is checked with the
// menu's tests.
#include "../screens/ScreenTestTools.h"

#include "mapping/frmCLTPrintMapping.h"

#include <QPrinter>

using namespace vx;
using vxtest::Click;

namespace {

// The text of a PDF file, laid out as printed.
QString PdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    // Compatibility form: a typeset ligature ("fi") reads as its letters.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

} // namespace

class tst_frmCLTPrintMapping : public QObject {
    Q_OBJECT

private slots:
    void printsTheGridToTheChosenPrinter()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils, see scripts/install-deps) is needed to read the printout");
        // A column number prints as YES, a manual flag that is not set as NO.
        vxtest::ScreenFixture<frmCLTPrintMapping> f(
            "UPDATE tblPartsFileMapping SET UserLabel = 'SPECIES' WHERE MainName = 'MATERIAL';"
            "UPDATE tblPartsFileMapping SET PF_Col = 7, ManualField = NULL WHERE MainName = 'UF_3'");

        const QString pdf = QString::fromStdString(f.box.file("mapping.pdf"));
        int dialogs = 0;
        auto previous = frmCLTPrintMapping::SetPrintDialogHook([&](QPrinter& printer) {
            ++dialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        Click(f.screen, "cmdPrint");
        QCOMPARE(dialogs, 1);
        QVERIFY(f.presenter.prompts.empty());
        const QString text = PdfText(pdf);
        QVERIFY2(!text.isEmpty(), "no printout");
        const QStringList lines = text.split(u'\n');
        auto lineWith = [&](const QString& first) {
            for (const QString& line : lines)
                if (line.simplified().startsWith(first + u' '))
                    return line.simplified();
            return QString();
        };
        QVERIFY(text.contains(QStringLiteral("Current Mapping")));
        QCOMPARE(lineWith("DB Name"), QString("DB Name Display Label Mapped Column Manual Parts Field"));
        QCOMPARE(lineWith("MATERIAL"), QString("MATERIAL SPECIES YES YES"));
        QCOMPARE(lineWith("SCRIBES"), QString("SCRIBES SCRIBES YES Config. Settings"));
        QCOMPARE(lineWith("UF_20"), QString("UF_20 UF_20 NO NO"));
        QCOMPARE(lineWith("UF_3"), QString("UF_3 UF_3 YES NO"));

        // A cancelled print dialog prints nothing.
        QFile::remove(pdf);
        frmCLTPrintMapping::SetPrintDialogHook([](QPrinter&) { return false; });
        Click(f.screen, "cmdPrint");
        QVERIFY(!QFile::exists(pdf));
        frmCLTPrintMapping::SetPrintDialogHook(previous);
    }
};

QTEST_MAIN(tst_frmCLTPrintMapping)
#include "tst_frmCLTPrintMapping.moc"
