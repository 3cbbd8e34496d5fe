#pragma once

#include <QByteArray>
#include <QByteArrayList>

namespace zanthe {

// The one line-splitting rule for 8-bit text from files and pages: a line
// ends at CR LF, at a lone CR or at a lone LF (LF CR is two line ends); a
// break after the last line adds no line; the text ends at the first NUL.
QByteArrayList splitTextLines(const QByteArray& bytes);

// Page text: the lines joined again with CR LF after every line.
QByteArray toPageText(const QByteArray& raw);

} // namespace zanthe
