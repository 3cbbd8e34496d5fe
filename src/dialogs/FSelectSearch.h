#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace zanthe {

// The Select Search Type dialog of "Gather Data". The two boxes are
// independent: both or neither may be ticked; only the first is read.
class TfrmSelSearch final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelSearch(QWidget* parent = nullptr);

    QCheckBox* bsSkinCheckRadioBox1 = nullptr; // precise
    QCheckBox* bsSkinCheckRadioBox2 = nullptr; // broad
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace zanthe
