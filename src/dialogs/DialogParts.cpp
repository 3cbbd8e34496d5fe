#include "DialogParts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace zanthe::dialogparts {

QLabel* label(QWidget* parent, const char* name, const char* text, int left, int top, int width)
{
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(left, top, width, l->sizeHint().height());
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(left, top, width, height);
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int left, int top,
                    int width, int height)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(left, top, width, height);
    return b;
}

void centreOnScreen(QWidget* window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() -
                     QPoint(window->width() / 2, window->height() / 2));
}

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace zanthe::dialogparts
