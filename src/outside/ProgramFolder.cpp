#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace zanthe {

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    QString folder =
        overrideFolder().isEmpty() ? QCoreApplication::applicationDirPath() : overrideFolder();
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

void setProgramFolder(const QString& folder)
{
    overrideFolder() = folder;
}

} // namespace zanthe
