#pragma once

#include "KeywordTableModel.h"

#include <QByteArrayList>
#include <QString>

#include <vector>

namespace zanthe {

// A keyword list file: one keyword per line, read whole before anything
// in the table changes, so that a failed read leaves the table alone.
struct KeywordFileRead {
    bool ok = false;
    QByteArrayList lines;
    QString error; // why the read failed, when !ok
};

// True when `path` names an existing file; a folder does not count.
bool keywordFileExists(const QString& path);

KeywordFileRead readKeywordFile(const QString& path);

// One row per line, numbered from firstNumber on, the line as its keyword
// and the four counts empty.
std::vector<KeywordRow> keywordRowsFromLines(const QByteArrayList& lines, int firstNumber);

} // namespace zanthe
