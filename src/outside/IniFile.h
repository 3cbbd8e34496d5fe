#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace zanthe {

// A profile file in the Windows "INI" style, held in memory as bytes.
// - "[Name]" starts a section; "key = value" lines belong to the last one.
// - Section and key names match without regard to case.
// - Blanks around names, around "=" and at the ends of a value are dropped;
//   a value wrapped in a pair of matching quotes loses them.
// - Lines starting with ';' or '#', blank lines and lines without '=' are
//   skipped; a ';' later in a line is part of the value.
// - A value is one plain text, commas included.
// - When a section or key occurs twice, the first one counts.
class IniFile final {
public:
    static IniFile parse(const QByteArray& bytes);

    // The value of key in section, or fallback when either is missing.
    QByteArray value(const QByteArray& section, const QByteArray& key,
                     const QByteArray& fallback = {}) const;
    bool contains(const QByteArray& section, const QByteArray& key) const;

private:
    struct Entry {
        QByteArray key;
        QByteArray value;
    };
    struct Section {
        QByteArray name;
        QList<Entry> entries;
    };
    const Entry* find(const QByteArray& section, const QByteArray& key) const;

    QList<Section> m_sections;
};

struct IniReadResult {
    IniFile ini;   // empty when the file could not be read
    QString error; // empty on success
    bool ok() const { return error.isEmpty(); }
};

IniReadResult readIniFile(const QString& path);

} // namespace zanthe
