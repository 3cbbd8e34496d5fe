#include "ModalSeam.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace zanthe {

namespace {
ModalHook& hook()
{
    static ModalHook h;
    return h;
}
} // namespace

void setModalHook(ModalHook h)
{
    hook() = std::move(h);
}

int execModal(QDialog* dialog)
{
    if (hook()) {
        QPointer<QDialog> guard(dialog);
        QTimer::singleShot(0, dialog, [guard] {
            if (guard && hook())
                hook()(guard.data());
        });
    }
    return dialog->exec();
}

} // namespace zanthe
