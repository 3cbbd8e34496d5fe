#include "Browser.h"

#include "ProgramConstants.h"
#include "table/ByteText.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace zanthe {

namespace {

QString findProgram(const QString& entry)
{
    if (entry.contains('/')) {
        const QFileInfo file(entry);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(entry);
}

} // namespace

QString browserLauncher()
{
    const QString configured = qEnvironmentVariable("BROWSER");
    if (configured.isEmpty())
        return findProgram(QStringLiteral("xdg-open"));
    // A set BROWSER is the user's choice: no fallback behind it.
    for (const QString& entry : configured.split(':', Qt::SkipEmptyParts)) {
        const QString program = findProgram(entry);
        if (!program.isEmpty())
            return program;
    }
    return {};
}

bool OpenInBrowser(const QByteArray& address)
{
    const QString launcher = browserLauncher();
    if (launcher.isEmpty())
        return false;
    QProcess::startDetached(launcher, {toDisplay(address)});
    return true;
}

QByteArray makeMoneyAddress(const QByteArray& affiliateId)
{
    return MakeMoneyBaseUrl + affiliateId;
}

} // namespace zanthe
