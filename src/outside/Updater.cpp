#include "Updater.h"

#include "ProgramConstants.h"
#include "ProgramFolder.h"

#include <QFileInfo>
#include <QLocale>
#include <QProcess>

namespace zanthe {

QString updaterPath()
{
#ifdef Q_OS_WIN
    return programFolder() + QStringLiteral("Updater.exe");
#else
    return programFolder() + QStringLiteral("Updater");
#endif
}

bool updaterPresent()
{
    return QFileInfo(updaterPath()).isFile();
}

QString versionWord(float version)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(double(version), 'g', 15);
}

QStringList updaterArguments()
{
    return {QString::fromLatin1(UpdateBaseUrl), versionWord(VersionNumber),
            QString::fromLatin1(UpdaterCode)};
}

bool startUpdater()
{
    return QProcess::startDetached(updaterPath(), updaterArguments());
}

} // namespace zanthe
