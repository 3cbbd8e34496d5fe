#pragma once

#include <QApplication>
#include <QTemporaryDir>

namespace zanthe {

// The application object. An exception that escapes an event handler is
// caught here, shown in a report dialog, and the program goes on: only the
// handler in which it occurred ends. The program writes no settings, so what
// Qt itself would store per user (the file dialogs' history) goes to a
// folder that is removed when the program ends.
class ZantheApplication final : public QApplication {
    Q_OBJECT
public:
    ZantheApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the report for an error that no handler caught.
    static void reportError(const QString& what);

private:
    QTemporaryDir m_settingsFolder;
};

} // namespace zanthe
