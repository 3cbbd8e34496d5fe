#pragma once

#include <QByteArray>
#include <QString>

namespace zanthe {

// The one way the program reads a whole file: every byte, or the reason it
// could not. A read that fails part-way is a failure, never a shorter file.
struct FileBytes {
    bool ok = false;
    QByteArray bytes;
    QString error; // why the read failed, when !ok
};

FileBytes readFileBytes(const QString& path);

} // namespace zanthe
