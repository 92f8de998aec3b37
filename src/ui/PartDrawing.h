#pragma once
// The drawing of one part to scale along its length: the part as a bar, each scribe as a
// line across it and each space ball as a dot, with their absolute positions beside them,
// the part's name, sizes and flags above, and a refused list's message below in red.
//
// The widget follows a parts grid: it reads the row in hand once when the current row
// changes or one of its cells is edited, and paints from that copy.
#include "convert/PartSketch.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QCheckBox;
class QPainter;

namespace vx {

class BoundGrid;

namespace PartDrawingColour {
inline constexpr QRgb Bar = 0xffeedcb4;
inline constexpr QRgb Outline = 0xff5a4a32;
inline constexpr QRgb Scribe = 0xff1f4fbf;
inline constexpr QRgb SpaceBall = 0xff17803a;
inline constexpr QRgb Problem = 0xffc00000;
} // namespace PartDrawingColour

// Paints the part into area with the painter's font; the header line (name, sizes, flags)
// only when asked. Returns the rectangle of the bar (empty when the part has no length).
QRectF PaintPartDrawing(QPainter& painter, const QRectF& area, const PartSketch& part, const PartMarks& marks,
                        bool withHeader);

class PartDrawing : public QWidget {
    Q_OBJECT
public:
    explicit PartDrawing(QWidget* parent = nullptr);

    // Draws the current row of the grid from now on (none while the grid has no current row).
    void Follow(BoundGrid* grid);
    void ShowPart(const PartSketch& part);
    void Clear();
    const std::optional<PartSketch>& part() const { return m_part; }
    // Where the bar was last painted, in widget coordinates.
    QRectF barRect() const { return m_bar; }

    QSize sizeHint() const override { return {480, 120}; }
    QSize minimumSizeHint() const override { return {120, 90}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ReadCurrentRow();

    QPointer<BoundGrid> m_grid;
    std::optional<PartSketch> m_part;
    PartMarks m_marks;
    QRectF m_bar;
};

// The drawing under a "Part drawing" check box that shows or hides it, for screens without
// room to show it always; the choice is remembered per screen in the user's settings.
class PartDrawingPanel : public QWidget {
    Q_OBJECT
public:
    explicit PartDrawingPanel(QWidget* parent = nullptr);
    // Follows the grid; settingsKey names the screen's remembered choice.
    void Follow(BoundGrid* grid, const QString& settingsKey);
    PartDrawing* drawing() const { return m_drawing; }
    QCheckBox* toggle() const { return m_toggle; }

private:
    QCheckBox* m_toggle;
    PartDrawing* m_drawing;
    QString m_key;
};

} // namespace vx
