#pragma once
// The grid widget every screen uses: a table view on the bound-grid model, addressed the way
// the screens count: row 0 and column 0 are the fixed header row and column, data rows and
// record-set columns start at 1. Drop-down columns edit through a combo box, Boolean
// columns show check boxes.
#include "ui/BoundGridModel.h"

#include <QStyledItemDelegate>
#include <QTableView>

namespace vx {

class BoundGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit BoundGridDelegate(BoundGridModel* model, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), m_model(model)
    {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    BoundGridModel* m_model;
};

class BoundGrid : public QTableView {
    Q_OBJECT
public:
    explicit BoundGrid(QWidget* parent = nullptr);

    BoundGridModel* gridModel() const { return m_model; }

    // Binding. Bind resets headings, widths, hidden columns and drop-downs.
    void Bind(RecordSet* rs);
    void Unbind();
    void Refresh();
    RecordSet* recordSet() const { return m_model->recordSet(); }

    // Counts including the fixed header row / column.
    int Rows() const { return m_model->rowCount() + 1; }
    int Cols() const { return m_model->columnCount() + 1; }
    // The text of a cell; row 0 gives the column heading.
    QString TextMatrix(int row, int col) const;

    void SetColHidden(int col, bool hidden);
    bool ColHidden(int col) const;
    void SetColHeading(int col, const QString& text);
    void SetColComboList(int col, const QString& list);
    // Widths in twips (1440 per inch): 15 twips per pixel on a 96 dpi screen.
    void SetColWidthTwips(int col, int twips);
    int ColWidthTwips(int col) const;
    // Sizes every shown column to its heading and contents.
    void AutoSize();
    void SetEditable(bool editable);

    // Selected data rows (grid numbering, ascending); SelectRow adds one.
    QList<int> SelectedRows() const;
    void SelectRow(int row, bool add = false);

    static int TwipsToPixels(int twips, int dpi = 96) { return (twips * dpi + 720) / 1440; }
    static int PixelsToTwips(int pixels, int dpi = 96) { return pixels * 1440 / dpi; }

private:
    BoundGridModel* m_model;
};

} // namespace vx
