#pragma once

#include <QByteArray>
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zanthe {

class ImageView;
class SkinMessage;

// The security-image dialog. The caller sets PageHtml and shows it modally;
// on showing it reads the hidden values and the image address from the page
// and loads the image. After "Ok" the caller reads edtPassword, RandomValue
// and SeedValue. One dialog serves one challenge.
class TfrmCaptcha final : public QDialog {
    Q_OBJECT
public:
    // Modal results.
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    // messages: the main window's message box. serviceBase: the suggestion
    // service's base address, against which a relative image address is read.
    TfrmCaptcha(SkinMessage* messages, const QByteArray& serviceBase, QWidget* parent = nullptr);

    QByteArray PageHtml;
    QByteArray RandomValue;
    QByteArray SeedValue;
    QByteArray ImageUrl;

    QLabel* bsSkinStdLabel2 = nullptr;
    ImageView* EmbeddedWB1 = nullptr;
    QLineEdit* edtPassword = nullptr;
    QPushButton* bsSkinButton1 = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    // The typed answer as bytes.
    QByteArray password() const;

public slots:
    void btnOkClick();
    void btnCancelClick();
    void bsSkinButton1Click();
    // Closing the window by any means other than "Ok" gives Cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // No key is bound: Escape does not close the dialog (Enter presses nothing
    // because no button is a default button).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void LoadChallenge();

    SkinMessage* m_messages;
    QByteArray m_serviceBase;
    bool m_loaded = false;
};

} // namespace zanthe
