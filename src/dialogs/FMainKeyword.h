#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zanthe {

class SkinMessage;

// The Main Keyword dialog: asks for the seed phrase of "Gather Keywords".
// Closes with ResultOk only when the box holds some text.
class TfrmMainKeyword final : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    // Messages go through the main window's message box.
    explicit TfrmMainKeyword(SkinMessage* messages, QWidget* parent = nullptr);

    QLabel* bsSkinStdLabel1 = nullptr;
    QLineEdit* edtMainKeyword = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

public slots:
    void btnOkClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool edtMainKeywordKeyDown(QKeyEvent* key);

    SkinMessage* m_messages;
};

} // namespace zanthe
