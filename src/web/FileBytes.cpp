#include "FileBytes.h"

#include <QFile>

namespace zanthe {

FileBytes readFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, {}, file.errorString()};
    QByteArray bytes = file.readAll();
    // readAll() hands back what it got before a failure.
    if (file.error() != QFileDevice::NoError)
        return {false, {}, file.errorString()};
    return {true, std::move(bytes), {}};
}

} // namespace zanthe
