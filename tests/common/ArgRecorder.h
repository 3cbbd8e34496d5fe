#pragma once

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QStringList>
#include <QTest>

namespace zanthe::test {

// A small shell script, standing in for a launched program, that writes the
// arguments it was started with, one per line, to a file beside itself. It
// writes to a scratch name first, so the file appears only once complete.
class ArgRecorder final {
public:
    ArgRecorder(const QString& folder, const QString& name)
        : m_script(QDir(folder).filePath(name))
        , m_log(m_script + QStringLiteral(".args"))
    {
        QFile file(m_script);
        if (!file.open(QIODevice::WriteOnly))
            return;
        // Its own PATH: a test may start it with a PATH that holds no tools.
        file.write("#!/bin/sh\n"
                   "PATH=/usr/bin:/bin\n"
                   "out='" +
                   m_log.toUtf8() +
                   "'\n"
                   ": > \"$out.part\"\n"
                   "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.part\"; done\n"
                   "mv \"$out.part\" \"$out\"\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    }

    QString path() const { return m_script; }
    bool called() const { return QFile::exists(m_log); }
    void reset() const { QFile::remove(m_log); }

    // The arguments of the last start; empty when none came in time.
    QStringList waitForArguments(int timeoutMs = 5000) const
    {
        if (!QTest::qWaitFor([this] { return called(); }, timeoutMs))
            return {};
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList args = QString::fromUtf8(file.readAll()).split('\n');
        args.removeLast(); // after the last line end
        return args;
    }

    // True when nothing was started within a short while.
    bool staysUncalled(int waitMs = 400) const
    {
        QTest::qWait(waitMs);
        return !called();
    }

private:
    QString m_script;
    QString m_log;
};

} // namespace zanthe::test
