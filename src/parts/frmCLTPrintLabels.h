#pragma once
// The label dialog of the view/edit screen: one label per unit of quantity or per row, all
// or the selected rows, and the label sheet; then the system's print dialog. The copies
// choice and the sheet are remembered in the user's settings.
#include "ui/PartLabelPrinting.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmCLTPrintLabels;
}

namespace vx {

class Connection;
class RecordSet;

class frmCLTPrintLabels : public QDialog {
    Q_OBJECT
public:
    // selectedRows: how many rows are selected (the "Selected rows" choice needs one).
    frmCLTPrintLabels(QWidget* parent, int selectedRows);
    ~frmCLTPrintLabels() override;

    bool perUnit() const;
    bool selectedOnly() const;
    LabelSheet sheet() const;

    // The whole errand: asks, then prints the labels of the parts (selected: 0-based rows of
    // the record set) through the print dialog. Table failures reach the caller.
    static void PrintLabels(QWidget* parent, const RecordSet& parts, const std::vector<int>& selected,
                            const std::string& fileTitle, Connection& configuration);

public slots:
    void cmdPrint_Click();

private:
    std::unique_ptr<Ui::frmCLTPrintLabels> m_ui;
};

} // namespace vx
