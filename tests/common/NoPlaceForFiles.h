#pragma once

#include "outside/ProgramFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace zanthe::test {

// Puts the program's folder and the user's cache folder below a plain file,
// so no file can be created in either, even for root (CI runs as root, for
// whom permission bits do not stop a write). The cache setting is restored
// afterwards; the program folder is the test's to reset.
class NoPlaceForFiles final {
public:
    explicit NoPlaceForFiles(const QDir& tempDir)
        : blocker(tempDir.filePath("plain-file"))
        , m_oldCache(qgetenv("XDG_CACHE_HOME"))
    {
        QFile f(blocker);
        created = f.open(QIODevice::WriteOnly);
        setProgramFolder(blocker + "/program");
        qputenv("XDG_CACHE_HOME", (blocker + "/cache").toUtf8());
    }
    ~NoPlaceForFiles()
    {
        if (m_oldCache.isNull())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", m_oldCache);
    }

    const QString blocker;
    bool created = false;

private:
    const QByteArray m_oldCache;
};

} // namespace zanthe::test
