#include "ErrorReport.h"

#include "ModalSeam.h"

#include <QMessageBox>
#include <QSettings>
#include <exception>

namespace zanthe {

ZantheApplication::ZantheApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    if (m_settingsFolder.isValid()) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsFolder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsFolder.path());
    }
}

bool ZantheApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
    return false;
}

void ZantheApplication::reportError(const QString& what)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error report"),
                    QStringLiteral("An unexpected error stopped the last action:\n\n%1\n\n"
                                   "The program goes on; your table is unchanged since then.")
                        .arg(what),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName("errorReport");
    execModal(&box);
}

} // namespace zanthe
