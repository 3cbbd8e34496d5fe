#pragma once

#include "app/ModalSeam.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <functional>

namespace zanthe::test {

// Drives the program's modal dialogs through the modal seam. Each dialog
// that is not a message box goes to the next script in line; a dialog
// still open when its script returns is rejected, so a failed check can
// never leave a test waiting. Message boxes, nested ones included, are
// answered OK by pressing the real button, and their texts are recorded.
class ModalScript final {
public:
    using Script = std::function<void(QDialog*)>;

    explicit ModalScript(std::initializer_list<Script> scripts = {})
        : m_scripts(scripts)
    {
        setModalHook([this](QDialog* d) {
            if (auto* box = qobject_cast<QMessageBox*>(d)) {
                messages << box->text();
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
                return;
            }
            ++dialogsShown;
            if (!m_scripts.empty()) {
                Script script = std::move(m_scripts.front());
                m_scripts.pop_front();
                script(d);
            }
            if (d->isVisible())
                d->reject();
        });
    }
    ~ModalScript() { setModalHook({}); }

    QStringList messages;
    int dialogsShown = 0;

private:
    std::deque<Script> m_scripts;
};

// Answers the program's message boxes, in order, by pressing the real
// button of each box: true for OK, false for Cancel. Unexpected boxes are
// answered OK and counted in `unexpected`.
class MessageAnswerer final {
public:
    explicit MessageAnswerer(std::initializer_list<bool> answers = {})
        : m_answers(answers)
    {
        setModalHook([this](QDialog* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            if (!box) {
                d->reject();
                return;
            }
            bool ok = true;
            if (m_answers.empty())
                ++unexpected;
            else {
                ok = m_answers.front();
                m_answers.pop_front();
            }
            QAbstractButton* b = box->button(ok ? QMessageBox::Ok : QMessageBox::Cancel);
            if (!b)
                b = box->button(QMessageBox::Ok);
            texts << box->text();
            QTest::mouseClick(b, Qt::LeftButton);
        });
    }
    ~MessageAnswerer() { setModalHook({}); }

    QStringList texts;
    int unexpected = 0;

private:
    std::deque<bool> m_answers;
};

} // namespace zanthe::test
