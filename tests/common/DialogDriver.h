#pragma once

#include "app/ModalSeam.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <deque>

namespace zanthe::test {

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
