#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QWidget;

namespace zanthe {

// The program's one message box. Result 1 for OK, 2 for Cancel.
class SkinMessage final : public QObject {
    Q_OBJECT
public:
    enum class Kind { Information, Warning };
    enum class Buttons { Ok, OkCancel };
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    struct Shown {
        QString text;
        Kind kind;
        Buttons buttons;
        int result;
    };

    explicit SkinMessage(QWidget* owner);

    int MessageDlg(const QByteArray& text, Kind kind, Buttons buttons, int helpContext = 0);
    int MessageDlg(const QString& text, Kind kind, Buttons buttons, int helpContext = 0);

    // Every message shown so far, with its answer, oldest first.
    const QList<Shown>& history() const { return m_history; }
    void clearHistory() { m_history.clear(); }

private:
    QWidget* m_owner;
    QList<Shown> m_history;
};

} // namespace zanthe
