#include "FMainKeyword.h"

#include "DialogParts.h"
#include "app/MessageBox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zanthe {

using namespace dialogparts;

TfrmMainKeyword::TfrmMainKeyword(SkinMessage* messages, QWidget* parent)
    : QDialog(parent, DialogFlags)
    , m_messages(messages)
{
    setObjectName("frmMainKeyword");
    setWindowTitle("Main Keyword");
    setFixedSize(309, 109);

    bsSkinStdLabel1 = label(this, "bsSkinStdLabel1",
                            "Please type the main keyword(s) Eg: golf, soccer:", 13, 13, 292);
    edtMainKeyword = edit(this, "edtMainKeyword", 13, 37, 280, 15);
    btnOk = button(this, "btnOk", "Ok", 68, 67, 82, 21);
    btnCancel = button(this, "btnCancel", "Cancel", 157, 67, 82, 21);
    setTabOrder(edtMainKeyword, btnOk);
    setTabOrder(btnOk, btnCancel);
    edtMainKeyword->setFocus();

    edtMainKeyword->installEventFilter(this);
    connect(btnOk, &QPushButton::clicked, this, &TfrmMainKeyword::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(ResultCancel); });

    centreOnScreen(this);
}

void TfrmMainKeyword::btnOkClick()
{
    // One space is a keyword too: nothing is trimmed.
    if (!edtMainKeyword->text().isEmpty()) {
        done(ResultOk);
        return;
    }
    m_messages->MessageDlg(QByteArray("Please add a Main Keyword."), SkinMessage::Kind::Information,
                           SkinMessage::Buttons::Ok);
}

bool TfrmMainKeyword::edtMainKeywordKeyDown(QKeyEvent* key)
{
    if (!isEnter(key))
        return false;
    btnOkClick();
    return true;
}

bool TfrmMainKeyword::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtMainKeyword && event->type() == QEvent::KeyPress)
        return edtMainKeywordKeyDown(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

} // namespace zanthe
