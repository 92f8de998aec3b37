#include "ui/PartLabelPrinting.h"

#include "ui/PartDrawing.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace vx {

namespace {

// A sheet of labels in millimetres from the paper's top left corner.
struct SheetGeometry {
    QPageSize::PageSizeId paper;
    int columns, rows;
    qreal left, top, width, height, columnPitch, rowPitch;
};

const SheetGeometry& Geometry(LabelSheet sheet)
{
    static const SheetGeometry sheets[] = {
        {QPageSize::A4, 2, 7, 4.65, 15.15, 99.1, 38.1, 101.6, 38.1},
        {QPageSize::A4, 3, 8, 7.25, 12.9, 63.5, 33.9, 66.0, 33.9},
        {QPageSize::Letter, 2, 7, 3.97, 21.08, 101.6, 33.87, 106.43, 33.87},
        {QPageSize::Letter, 3, 8, 4.76, 12.7, 66.68, 31.75, 69.86, 31.75},
    };
    return sheets[std::min(static_cast<int>(sheet), 3)];
}

// A 4 x 2 inch label, described upright and printed across.
constexpr qreal kLabelPrinterWidthMm = 101.6, kLabelPrinterHeightMm = 50.8;
constexpr qreal kInsetMm = 2.5;

qreal PixelsPerMm(const QPrinter& printer) { return printer.resolution() / 25.4; }

} // namespace

QString LabelSheetName(LabelSheet sheet)
{
    if (sheet == LabelSheet::OnePerPage)
        return QStringLiteral("One label per page (label printer, 4 \u00d7 2 in)");
    const SheetGeometry& g = Geometry(sheet);
    return QStringLiteral("%1, %2 \u00d7 %3 labels (%4 \u00d7 %5 mm)")
        .arg(g.paper == QPageSize::A4 ? QStringLiteral("A4") : QStringLiteral("Letter"))
        .arg(g.columns)
        .arg(g.rows)
        .arg(g.width)
        .arg(g.height);
}

void PrepareLabelPrinter(QPrinter& printer, LabelSheet sheet)
{
    if (sheet == LabelSheet::OnePerPage)
        printer.setPageSize(QPageSize(QSizeF(kLabelPrinterHeightMm, kLabelPrinterWidthMm), QPageSize::Millimeter,
                                      QStringLiteral("Label 4 x 2 in")));
    else
        printer.setPageSize(QPageSize(Geometry(sheet).paper));
    printer.setPageOrientation(sheet == LabelSheet::OnePerPage ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QList<QRectF> LabelRects(const QPrinter& printer, LabelSheet sheet)
{
    const qreal mm = PixelsPerMm(printer);
    if (sheet == LabelSheet::OnePerPage) {
        // Whatever paper the print dialog ended with: the label is the whole paper.
        return {QRectF(printer.pageLayout().fullRectPixels(printer.resolution()))};
    }
    const SheetGeometry& g = Geometry(sheet);
    QList<QRectF> rects;
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.columns; ++c)
            rects << QRectF((g.left + c * g.columnPitch) * mm, (g.top + r * g.rowPitch) * mm, g.width * mm,
                            g.height * mm);
    return rects;
}

void PaintPartLabel(QPainter& painter, const QRectF& rect, const PartLabel& label, qreal pixelsPerMm)
{
    const PartSketch& part = label.part;
    const QRectF inner =
        rect.adjusted(kInsetMm * pixelsPerMm, kInsetMm * pixelsPerMm, -kInsetMm * pixelsPerMm, -kInsetMm * pixelsPerMm);
    if (inner.width() <= 0 || inner.height() <= 0)
        return;
    painter.save();
    painter.setClipRect(rect);
    // Five lines of text and the drawing share the height; the text never grows past 4 mm.
    const qreal unit = std::min(inner.height() / 9.0, 4.0 * pixelsPerMm);
    QFont body(QStringLiteral("Sans Serif"));
    body.setPixelSize(std::max(1, qRound(unit * 0.85)));
    QFont title = body;
    title.setBold(true);
    title.setPixelSize(std::max(1, qRound(unit * 1.15)));
    QFont small = body;
    small.setPixelSize(std::max(1, qRound(unit * 0.7)));

    qreal y = inner.top();
    auto line = [&](const QFont& font, const QString& text, qreal height, const QColor& colour = Qt::black) {
        painter.setFont(font);
        painter.setPen(colour);
        const QFontMetricsF fm(font, painter.device());
        painter.drawText(QRectF(inner.left(), y, inner.width(), height), Qt::AlignLeft | Qt::AlignVCenter,
                         fm.elidedText(text, Qt::ElideRight, inner.width()));
        y += height;
    };
    auto join = [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a.empty() || b.empty() ? a + b : a + "   " + b);
    };
    line(title, QString::fromStdString(part.part), unit * 1.4);
    line(body, join(PartSizeText(part, true), part.material), unit);
    line(body, join(part.seqNum.empty() ? "" : "#" + part.seqNum, label.process), unit);
    line(body, QString::fromStdString(PartFlagsText(part)), unit);
    line(small, QString::fromStdString(label.fileTitle), unit * 0.9, Qt::darkGray);

    painter.setFont(small);
    PaintPartDrawing(painter, QRectF(inner.left(), y, inner.width(), inner.bottom() - y), part, PartMarkPositions(part),
                     false);
    painter.restore();
}

bool PrintPartLabels(QPrinter& printer, LabelSheet sheet, const std::vector<PartLabel>& labels)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QList<QRectF> places = LabelRects(printer, sheet);
    const qreal mm = PixelsPerMm(printer);
    int place = 0;
    for (const PartLabel& label : labels) {
        for (int copy = 0; copy < label.copies; ++copy) {
            if (place == places.size()) {
                printer.newPage();
                place = 0;
            }
            PaintPartLabel(painter, places[place++], label, mm);
        }
    }
    painter.end();
    return true;
}

} // namespace vx
