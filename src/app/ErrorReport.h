#pragma once

#include <QApplication>

namespace zanthe {

// The application object. An exception that escapes an event handler is
// caught here, shown in a report dialog, and the program goes on: only the
// handler in which it occurred ends.
class ZantheApplication final : public QApplication {
    Q_OBJECT
public:
    ZantheApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the report for an error that no handler caught.
    static void reportError(const QString& what);
};

} // namespace zanthe
