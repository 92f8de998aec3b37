#pragma once
// Printing part labels on the common label sheets: where each label sits on the page and
// what it shows (name, sizes, material, sequence number, process, flags, file and drawing).
#include "parts/PartLabels.h"

#include <QList>
#include <QRectF>
#include <QString>

class QPainter;
class QPrinter;

namespace vx {

enum class LabelSheet { A4_2x7, A4_3x8, Letter_2x7, Letter_3x8, OnePerPage };
inline constexpr int kLabelSheetCount = 5;

// "A4, 2 × 7 labels (99.1 × 38.1 mm)" and so on, for the dialog's list.
QString LabelSheetName(LabelSheet sheet);

// Sets the paper of the sheet (a 4 × 2 inch label for one label per page) and prints on the
// whole paper, so the label positions are measured from the paper's corner.
void PrepareLabelPrinter(QPrinter& printer, LabelSheet sheet);
// The labels of one page in printer pixels, row by row.
QList<QRectF> LabelRects(const QPrinter& printer, LabelSheet sheet);

// Paints one label; nothing is painted outside rect, long texts end in an ellipsis.
void PaintPartLabel(QPainter& painter, const QRectF& rect, const PartLabel& label, qreal pixelsPerMm);
// Prints every label (each entry as often as its copies), as many pages as it takes; false
// when the printer could not be started.
bool PrintPartLabels(QPrinter& printer, LabelSheet sheet, const std::vector<PartLabel>& labels);

} // namespace vx
