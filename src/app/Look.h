#pragma once

#include <QString>

namespace zanthe {

// The look of every window comes from one application-wide style sheet.
// builtInStyleSheet() is the program's own; a branding skin replaces it
// through applyStyleSheet(), the one place that sets it.
QString builtInStyleSheet();
void applyStyleSheet(const QString& sheet);

} // namespace zanthe
