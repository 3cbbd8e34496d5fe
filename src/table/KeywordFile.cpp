#include "KeywordFile.h"

#include "web/TextLines.h"

#include <QFile>
#include <QFileInfo>

namespace zanthe {

bool keywordFileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

KeywordFileRead readKeywordFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, {}, file.errorString()};
    const QByteArray bytes = file.readAll();
    // readAll() hands back what it got before a failure; a part of the list
    // must not pass for the whole of it.
    if (file.error() != QFileDevice::NoError)
        return {false, {}, file.errorString()};
    return {true, splitTextLines(bytes), {}};
}

std::vector<KeywordRow> keywordRowsFromLines(const QByteArrayList& lines, int firstNumber)
{
    std::vector<KeywordRow> rows;
    rows.reserve(static_cast<size_t>(lines.size()));
    qint64 number = firstNumber;
    for (const QByteArray& line : lines)
        rows.push_back(KeywordRow{QByteArray::number(number++), {line, {}, {}, {}, {}}, false});
    return rows;
}

} // namespace zanthe
