#include "FCaptcha.h"

#include "DialogParts.h"
#include "ImageView.h"
#include "app/MessageBox.h"
#include "research/Challenge.h"
#include "table/ByteText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zanthe {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, int left)
{
    QPushButton* b = dialogparts::button(parent, name, caption, left, 171, 82, 21);
    // No key is bound: Enter in the answer field must not press a button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

TfrmCaptcha::TfrmCaptcha(SkinMessage* messages, const QByteArray& serviceBase, QWidget* parent)
    : QDialog(parent, dialogparts::DialogFlags)
    , m_messages(messages)
    , m_serviceBase(serviceBase)
{
    setObjectName("frmCaptcha");
    setWindowTitle("Security image");
    setFixedSize(310, 209);

    bsSkinStdLabel2 = new QLabel("Please enter the characters in the image", this);
    bsSkinStdLabel2->setObjectName("bsSkinStdLabel2");
    bsSkinStdLabel2->setGeometry(13, 7, 238, 16);
    // The caption must show whole whatever the font.
    bsSkinStdLabel2->resize(qMax(238, bsSkinStdLabel2->sizeHint().width()), 16);

    EmbeddedWB1 = new ImageView(this);
    EmbeddedWB1->setObjectName("EmbeddedWB1");
    EmbeddedWB1->setGeometry(13, 26, 280, 111);

    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName("edtPassword");
    edtPassword->setGeometry(13, 146, 280, 19);

    bsSkinButton1 = makeButton(this, "bsSkinButton1", "Refresh", 15);
    btnOk = makeButton(this, "btnOk", "Ok", 127);
    btnCancel = makeButton(this, "btnCancel", "Cancel", 216);

    setTabOrder(edtPassword, bsSkinButton1);
    setTabOrder(bsSkinButton1, btnOk);
    setTabOrder(btnOk, btnCancel);

    connect(btnOk, &QPushButton::clicked, this, &TfrmCaptcha::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmCaptcha::btnCancelClick);
    connect(bsSkinButton1, &QPushButton::clicked, this, &TfrmCaptcha::bsSkinButton1Click);

    dialogparts::centreOnScreen(this);
}

QByteArray TfrmCaptcha::password() const
{
    return fromUser(edtPassword->text());
}

void TfrmCaptcha::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmCaptcha::FormShow()
{
    // Shown again after being hidden, the dialog keeps what it read.
    if (m_loaded)
        return;
    m_loaded = true;
    edtPassword->setFocus();
    LoadChallenge();
}

void TfrmCaptcha::LoadChallenge()
{
    const ChallengeFields fields = zanthe::LoadChallenge(PageHtml);
    RandomValue = fields.randomValue;
    SeedValue = fields.seedValue;
    ImageUrl = fields.imageUrl;
    // A refused or missing address shows as a failed load; the dialog opens
    // all the same, and the image arrives whenever it arrives.
    EmbeddedWB1->navigate(imageAddress(ImageUrl, m_serviceBase));
}

void TfrmCaptcha::btnOkClick()
{
    if (edtPassword->text().isEmpty()) {
        m_messages->MessageDlg(QByteArray("Please enter a password."),
                               SkinMessage::Kind::Information, SkinMessage::Buttons::Ok);
        return;
    }
    done(mrOk);
}

void TfrmCaptcha::btnCancelClick()
{
    done(mrCancel);
}

void TfrmCaptcha::reject()
{
    done(mrCancel);
}

void TfrmCaptcha::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmCaptcha::bsSkinButton1Click()
{
    EmbeddedWB1->refresh();
}

} // namespace zanthe
