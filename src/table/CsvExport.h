#pragma once

#include "KeywordTableModel.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

class QIODevice;

namespace zanthe {

// One CSV line: every field between double quotes, a double quote inside a
// field written twice, fields joined by commas, CR LF at the end.
QByteArray csvLine(const QByteArrayList& fields);

struct CsvWriteResult {
    bool ok = false;
    QString error;
};

// Writes the header line and every row in display order. Fails as soon as
// a write does not take all its bytes.
CsvWriteResult writeCsv(QIODevice* device, const KeywordTableModel& model);

// Writes the table to `path` through a save file: the target gets the whole
// new file or keeps what it had.
CsvWriteResult saveCsvFile(const QString& path, const KeywordTableModel& model);

// The save dialog's extension rule: ".csv" is appended to the whole name
// unless it already ends in ".csv" in any letter case.
QString withCsvExtension(const QString& path);

} // namespace zanthe
