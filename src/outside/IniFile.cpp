#include "IniFile.h"

#include "web/FileBytes.h"
#include "web/TextLines.h"

namespace zanthe {

namespace {

bool sameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray unquoted(const QByteArray& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

IniFile IniFile::parse(const QByteArray& bytes)
{
    IniFile ini;
    const QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    Section* current = nullptr; // keys before the first header belong nowhere
    for (const QByteArray& raw : splitTextLines(text)) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const qsizetype close = line.indexOf(']');
            const QByteArray name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            ini.m_sections.append(Section{name, {}});
            current = &ini.m_sections.back();
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || !current)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        if (key.isEmpty())
            continue;
        current->entries.append(Entry{key, unquoted(line.mid(eq + 1).trimmed())});
    }
    return ini;
}

const IniFile::Entry* IniFile::find(const QByteArray& section, const QByteArray& key) const
{
    for (const Section& s : m_sections) {
        if (!sameName(s.name, section))
            continue;
        for (const Entry& e : s.entries) {
            if (sameName(e.key, key))
                return &e;
        }
        return nullptr; // a repeated section is not searched
    }
    return nullptr;
}

QByteArray IniFile::value(const QByteArray& section, const QByteArray& key,
                          const QByteArray& fallback) const
{
    const Entry* e = find(section, key);
    return e ? e->value : fallback;
}

bool IniFile::contains(const QByteArray& section, const QByteArray& key) const
{
    return find(section, key) != nullptr;
}

IniReadResult readIniFile(const QString& path)
{
    const FileBytes file = readFileBytes(path);
    if (!file.ok)
        return {IniFile{}, file.error};
    return {IniFile::parse(file.bytes), {}};
}

} // namespace zanthe
