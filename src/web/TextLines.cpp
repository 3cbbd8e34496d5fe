#include "TextLines.h"

namespace zanthe {

QByteArrayList splitTextLines(const QByteArray& bytes)
{
    QByteArrayList lines;
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype end = nul < 0 ? bytes.size() : nul;
    const char* data = bytes.constData();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            lines.append(bytes.mid(start, i - start));
            i += (c == '\r' && i + 1 < end && data[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < end)
        lines.append(bytes.mid(start, end - start));
    return lines;
}

QByteArray toPageText(const QByteArray& raw)
{
    const QByteArrayList lines = splitTextLines(raw);
    QByteArray page;
    qsizetype size = 0;
    for (const QByteArray& line : lines)
        size += line.size() + 2;
    page.reserve(size);
    for (const QByteArray& line : lines) {
        page += line;
        page += "\r\n";
    }
    return page;
}

} // namespace zanthe
