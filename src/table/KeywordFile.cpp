#include "KeywordFile.h"

#include "web/FileBytes.h"
#include "web/TextLines.h"

#include <QFileInfo>

namespace zanthe {

bool keywordFileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

KeywordFileRead readKeywordFile(const QString& path)
{
    const FileBytes file = readFileBytes(path);
    if (!file.ok)
        return {false, {}, file.error};
    return {true, splitTextLines(file.bytes), {}};
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
