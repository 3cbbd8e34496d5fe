#include "CsvExport.h"

#include <QSaveFile>

namespace zanthe {

namespace {

constexpr qsizetype ChunkSize = 64 * 1024;

void appendField(QByteArray& line, const QByteArray& value)
{
    line += '"';
    if (value.contains('"'))
        line += QByteArray(value).replace("\"", "\"\"");
    else
        line += value;
    line += '"';
}

bool writeAll(QIODevice* device, const QByteArray& bytes, QString& error)
{
    const qint64 written = device->write(bytes);
    if (written == bytes.size())
        return true;
    error = written < 0 ? device->errorString()
                        : QString("only %1 of %2 bytes could be written (%3)")
                              .arg(written)
                              .arg(bytes.size())
                              .arg(device->errorString());
    return false;
}

} // namespace

QByteArray csvLine(const QByteArrayList& fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        appendField(line, fields[i]);
    }
    line += "\r\n";
    return line;
}

CsvWriteResult writeCsv(QIODevice* device, const KeywordTableModel& model)
{
    QString error;
    QByteArrayList header;
    for (int c = 0; c < KeywordTableModel::ColumnCount; ++c)
        header << KeywordTableModel::headerText(c);
    QByteArray chunk = csvLine(header);
    for (const KeywordRow& row : model.rows()) {
        QByteArrayList fields{row.caption};
        for (const QByteArray& text : row.texts)
            fields << text;
        chunk += csvLine(fields);
        if (chunk.size() >= ChunkSize) {
            if (!writeAll(device, chunk, error))
                return {false, error};
            chunk.clear();
        }
    }
    if (!writeAll(device, chunk, error))
        return {false, error};
    return {true, {}};
}

CsvWriteResult saveCsvFile(const QString& path, const KeywordTableModel& model)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write shows at the write() that made it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    const CsvWriteResult written = writeCsv(&file, model);
    if (!written.ok) {
        file.cancelWriting();
        file.commit(); // discards the partial copy; the target is untouched
        return written;
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

QString withCsvExtension(const QString& path)
{
    if (path.endsWith(".csv", Qt::CaseInsensitive))
        return path;
    return path + ".csv";
}

} // namespace zanthe
