#include "MessageBox.h"

#include "ModalSeam.h"
#include "table/ByteText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zanthe {

SkinMessage::SkinMessage(QWidget* owner)
    : QObject(owner)
    , m_owner(owner)
{
    setObjectName("msgMain");
}

int SkinMessage::MessageDlg(const QByteArray& text, Kind kind, Buttons buttons, int helpContext)
{
    return MessageDlg(toDisplay(text), kind, buttons, helpContext);
}

int SkinMessage::MessageDlg(const QString& text, Kind kind, Buttons buttons, int /*helpContext*/)
{
    QMessageBox box(m_owner);
    box.setObjectName("msgMainBox");
    box.setWindowTitle(kind == Kind::Warning ? "Warning" : "Information");
    box.setIcon(kind == Kind::Warning ? QMessageBox::Warning : QMessageBox::Information);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    box.setDefaultButton(ok);
    if (buttons == Buttons::OkCancel) {
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setEscapeButton(cancel);
    } else {
        box.setEscapeButton(ok);
    }
    execModal(&box);
    const int result =
        (buttons == Buttons::OkCancel && box.clickedButton() != ok) ? ResultCancel : ResultOk;
    m_history.append(Shown{text, kind, buttons, result});
    return result;
}

} // namespace zanthe
