#pragma once

#include <QString>

namespace zanthe {

// The folder of the program's own executable, with a trailing separator.
// Every file the program names by itself (branding files, scratch page,
// updater) lies here, never in the current folder.
QString programFolder();

// Tests point the program at a folder of their own.
void setProgramFolder(const QString& folder);

} // namespace zanthe
