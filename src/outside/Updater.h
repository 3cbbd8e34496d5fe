#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zanthe {

// The separate updater program beside this one ("Updater.exe" on Windows).
QString updaterPath();
bool updaterPresent();

// A number in the general form with 15 significant digits and the user's
// decimal separator: 1.0 gives "1", 1.5 gives "1.5".
QString versionWord(float version);

// The three words handed to the updater: where the updates live, the running
// version and the updater code.
QStringList updaterArguments();

// Starts the updater detached, each word one argument, without a shell.
bool startUpdater();

} // namespace zanthe
