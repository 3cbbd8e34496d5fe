#pragma once

#include <QByteArray>
#include <QString>

namespace zanthe {

// The one rule for turning the program's 8-bit texts into something a
// widget can show, and back. Cells, pages and files stay bytes; only the
// display decodes. Valid UTF-8 is shown as UTF-8, anything else as Latin-1,
// so every byte shows as some character and nothing is lost by looking.
QString toDisplay(const QByteArray& bytes);

// Text the user typed, as bytes (UTF-8).
QByteArray fromUser(const QString& text);

} // namespace zanthe
