#include "Sorting.h"

#include "ByteText.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

namespace zanthe {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The text of a count with its commas removed, read without copying.
class DigitCursor {
public:
    explicit DigitCursor(const QByteArray& text)
        : m_p(text.constData())
        , m_end(text.constData() + text.size())
    {
        skipCommas();
    }
    bool atEnd() const { return m_p == m_end; }
    char peek() const { return *m_p; }
    // The character after the current one, commas skipped; 0 at the end.
    char peekNext() const
    {
        const char* q = m_p + 1;
        while (q < m_end && *q == ',')
            ++q;
        return q < m_end ? *q : '\0';
    }
    void advance()
    {
        ++m_p;
        skipCommas();
    }

private:
    void skipCommas()
    {
        while (m_p < m_end && *m_p == ',')
            ++m_p;
    }
    const char* m_p;
    const char* m_end;
};

// The standard text-to-integer conversion, widened to 64 bits.
std::optional<qint64> toInt64(DigitCursor in)
{
    while (!in.atEnd() && in.peek() == ' ')
        in.advance();
    bool negative = false;
    if (!in.atEnd() && (in.peek() == '+' || in.peek() == '-')) {
        negative = in.peek() == '-';
        in.advance();
    }
    bool hex = false;
    if (!in.atEnd() && (in.peek() == '$' || in.peek() == 'x' || in.peek() == 'X')) {
        hex = true;
        in.advance();
    } else if (!in.atEnd() && in.peek() == '0' && (in.peekNext() == 'x' || in.peekNext() == 'X')) {
        hex = true;
        in.advance();
        in.advance();
    }
    if (in.atEnd())
        return std::nullopt; // no digits at all
    quint64 value = 0;
    if (hex) {
        // A bit pattern: up to 16 significant digits, sign applied after.
        for (; !in.atEnd(); in.advance()) {
            const int d = hexDigit(in.peek());
            if (d < 0 || value > (std::numeric_limits<quint64>::max() >> 4))
                return std::nullopt;
            value = (value << 4) | static_cast<quint64>(d);
        }
        return static_cast<qint64>(negative ? 0 - value : value);
    }
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    for (; !in.atEnd(); in.advance()) {
        const char c = in.peek();
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto d = static_cast<quint64>(c - '0');
        if (value > (limit - d) / 10)
            return std::nullopt;
        value = value * 10 + d;
    }
    return static_cast<qint64>(negative ? 0 - value : value);
}

// Keywords are mostly ASCII, which needs no decoder.
QString keywordText(const QByteArray& keyword)
{
    for (const char c : keyword)
        if (static_cast<unsigned char>(c) >= 0x80)
            return toDisplay(keyword);
    return QString::fromLatin1(keyword);
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

int threeWay(qint64 a, qint64 b)
{
    return (a > b) - (a < b);
}

// Sorts (key, position) pairs; ties go by position, so equal rows keep
// their order whichever the direction.
template <typename Key, typename Compare>
std::vector<int> orderOf(std::vector<std::pair<Key, int>>& keyed, bool ascending, Compare compare)
{
    std::sort(keyed.begin(), keyed.end(), [&](const auto& x, const auto& y) {
        const int c = compare(x.first, y.first);
        if (c != 0)
            return ascending ? c < 0 : c > 0;
        return x.second < y.second;
    });
    std::vector<int> order;
    order.reserve(keyed.size());
    for (const auto& k : keyed)
        order.push_back(k.second);
    return order;
}

const QByteArray& numberCell(const KeywordRow& row, int column)
{
    return column == KeywordTableModel::No ? row.caption
                                           : row.texts[static_cast<size_t>(column - 1)];
}

} // namespace

qint64 countValue(const QByteArray& text)
{
    return toInt64(DigitCursor(text)).value_or(0);
}

int CompareNumbers(const QByteArray& a, const QByteArray& b)
{
    return threeWay(countValue(a), countValue(b));
}

KeywordCollation::KeywordCollation(const QLocale& locale)
    : m_collator(locale)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    m_collator.setIgnorePunctuation(false);
}

int KeywordCollation::compareText(QStringView a, QStringView b) const
{
    return sign(m_collator.compare(a, b));
}

int KeywordCollation::compare(const QByteArray& a, const QByteArray& b) const
{
    return compareText(keywordText(a), keywordText(b));
}

int CompareRows(const KeywordRow& row1, const KeywordRow& row2, int column, bool ascending,
                const KeywordCollation& keywords)
{
    if (column < 0 || column >= KeywordTableModel::ColumnCount)
        return 0;
    const int result = column == KeywordTableModel::Keywords
                           ? keywords.compare(row1.texts[KeywordTableModel::KeywordText],
                                              row2.texts[KeywordTableModel::KeywordText])
                           : CompareNumbers(numberCell(row1, column), numberCell(row2, column));
    return ascending ? result : -result;
}

namespace {

// Keyword sorting presorts cheap byte keys and then lets the collation
// itself have the last word: an insertion pass walks the presorted rows
// with the real comparison and moves any row the presort misplaced. The
// byte keys rank each character on its own, which matches the collation
// for nearly every text; where it does not (accents weighed after the
// letters, contractions such as "ch" in some languages) the pass mends the
// few rows concerned. Only when the presort is far off does the pass give
// up, and the collation's own sort keys are tried the same way, and at the
// last a plain comparison sort. The result is always exactly the
// collation's order.

class KeywordTexts {
public:
    explicit KeywordTexts(const std::vector<KeywordRow>& rows)
    {
        size_t total = 0;
        for (const KeywordRow& r : rows)
            total += size_t(r.texts[KeywordTableModel::KeywordText].size());
        // Decoding never yields more UTF-16 units than there are bytes.
        m_text.resize(total);
        char16_t* out = m_text.data();
        m_start.reserve(rows.size() + 1);
        m_start.push_back(0);
        for (const KeywordRow& r : rows) {
            const QByteArray& k = r.texts[KeywordTableModel::KeywordText];
            const auto* bytes = reinterpret_cast<const unsigned char*>(k.constData());
            const qsizetype size = k.size();
            unsigned char high = 0;
            for (qsizetype i = 0; i < size; ++i)
                high |= bytes[i];
            if (high < 0x80) {
                for (qsizetype i = 0; i < size; ++i)
                    *out++ = bytes[i];
            } else {
                const QString decoded = toDisplay(k);
                out = std::copy(decoded.utf16(), decoded.utf16() + decoded.size(), out);
            }
            m_start.push_back(size_t(out - m_text.data()));
        }
        m_text.resize(m_start.back());
    }
    size_t size() const { return m_start.size() - 1; }
    size_t totalLength() const { return m_text.size(); }
    QStringView at(size_t i) const
    {
        return QStringView(m_text.data() + m_start[i], qsizetype(m_start[i + 1] - m_start[i]));
    }

private:
    std::vector<char16_t> m_text;
    std::vector<size_t> m_start;
};

// Byte keys, compared as unsigned bytes with the shorter first on a common
// start, also in one buffer.
struct ByteKeys {
    std::vector<quint8> bytes;
    std::vector<size_t> start{0};
    void endKey() { start.push_back(bytes.size()); }
};

class ByteKeySorter {
public:
    explicit ByteKeySorter(const ByteKeys& keys)
        : m_keys(keys)
    {}

    // Sorts by key, ties by position, eight bytes at a time: entries are
    // ordered by the chunk at `depth` carried inline, and only groups that
    // share it go on to the next chunk. Most comparisons thus never leave
    // the array being sorted, even when all keywords begin alike (every
    // suggestion holds the seed phrase).
    std::vector<int> ascendingOrder()
    {
        const size_t n = m_keys.start.size() - 1;
        std::vector<Entry> entries(n);
        for (size_t i = 0; i < n; ++i)
            entries[i].position = static_cast<int>(i);
        sortFrom(entries.begin(), entries.end(), 0);
        std::vector<int> order;
        order.reserve(n);
        for (const Entry& e : entries)
            order.push_back(e.position);
        return order;
    }

    std::basic_string_view<quint8> key(int position) const
    {
        const size_t i = size_t(position);
        return {m_keys.bytes.data() + m_keys.start[i], m_keys.start[i + 1] - m_keys.start[i]};
    }

private:
    struct Entry {
        quint64 chunk = 0;
        int position = 0;
    };
    using It = std::vector<Entry>::iterator;

    void sortFrom(It begin, It end, size_t depth)
    {
        for (It e = begin; e != end; ++e) {
            const auto k = key(e->position);
            quint64 chunk = 0;
            for (size_t b = depth; b < depth + 8; ++b)
                chunk = (chunk << 8) | (b < k.size() ? k[b] : 0u);
            e->chunk = chunk;
        }
        std::sort(begin, end, [](const Entry& x, const Entry& y) {
            return x.chunk != y.chunk ? x.chunk < y.chunk : x.position < y.position;
        });
        for (It run = begin; run != end;) {
            It runEnd = run + 1;
            while (runEnd != end && runEnd->chunk == run->chunk)
                ++runEnd;
            if (runEnd - run > 1) {
                // Keys that end within this chunk come first, shorter before
                // longer (zero padding cannot tell "ab" from "ab\0").
                const auto endsHere = [&](const Entry& e) {
                    return key(e.position).size() <= depth + 8;
                };
                const It rest = std::stable_partition(run, runEnd, endsHere);
                std::stable_sort(run, rest, [&](const Entry& x, const Entry& y) {
                    return key(x.position).size() < key(y.position).size();
                });
                if (runEnd - rest > 1)
                    sortFrom(rest, runEnd, depth + 8);
            }
            run = runEnd;
        }
    }

    const ByteKeys& m_keys;
};

// Sorted by key with ties in their old order, in either direction.
std::vector<int> orderOfByteKeys(const ByteKeys& keys, bool ascending)
{
    ByteKeySorter sorter(keys);
    std::vector<int> order = sorter.ascendingOrder();
    if (ascending)
        return order;
    // Descending: the groups of equal keys in reverse, each group as it was.
    std::vector<int> reversed;
    reversed.reserve(order.size());
    for (size_t groupEnd = order.size(); groupEnd > 0;) {
        size_t groupBegin = groupEnd - 1;
        while (groupBegin > 0 && sorter.key(order[groupBegin - 1]) == sorter.key(order[groupBegin]))
            --groupBegin;
        reversed.insert(reversed.end(), order.begin() + qsizetype(groupBegin),
                        order.begin() + qsizetype(groupEnd));
        groupEnd = groupBegin;
    }
    return reversed;
}

// Ranks every character that occurs on its own: equal ranks for letters
// that differ only in case, none for characters the collation ignores.
ByteKeys characterRankKeys(const KeywordTexts& texts, const KeywordCollation& keywords)
{
    std::vector<quint8> present(0x10000);
    for (size_t i = 0; i < texts.size(); ++i)
        for (const QChar c : texts.at(i))
            present[c.unicode()] = true;
    std::vector<char16_t> chars;
    for (size_t c = 0; c < present.size(); ++c)
        if (present[c])
            chars.push_back(static_cast<char16_t>(c));
    const auto one = [](const char16_t& c) { return QStringView(&c, 1); };
    std::stable_sort(chars.begin(), chars.end(), [&](const char16_t& a, const char16_t& b) {
        return keywords.compareText(one(a), one(b)) < 0;
    });
    std::vector<quint16> rank(0x10000);
    quint16 next = 0;
    const char16_t* ranked = nullptr; // the last character given a rank
    for (const char16_t& c : chars) {
        const char16_t withA[2] = {c, u'a'};
        if (keywords.compareText(QStringView(withA, 2), u"a") == 0)
            continue; // ignored: no rank
        if (!ranked || keywords.compareText(one(*ranked), one(c)) != 0)
            ++next;
        rank[c] = next;
        ranked = &c;
    }
    const bool wide = next > 0xff;
    ByteKeys keys;
    keys.start.reserve(texts.size() + 1);
    keys.bytes.reserve(texts.totalLength() * (wide ? 2 : 1));
    for (size_t i = 0; i < texts.size(); ++i) {
        for (const QChar c : texts.at(i)) {
            const quint16 r = rank[c.unicode()];
            if (r == 0)
                continue;
            if (wide)
                keys.bytes.push_back(static_cast<quint8>(r >> 8));
            keys.bytes.push_back(static_cast<quint8>(r));
        }
        keys.endKey();
    }
    return keys;
}

// Insertion pass under the collation (ties by old position). Gives up,
// still holding every position once, after `budget` comparisons.
bool mendOrder(std::vector<int>& order, const KeywordTexts& texts, bool ascending,
               const KeywordCollation& keywords)
{
    const auto goesBefore = [&](int a, int b) {
        const int c = keywords.compareText(texts.at(size_t(a)), texts.at(size_t(b)));
        if (c != 0)
            return ascending ? c < 0 : c > 0;
        return a < b;
    };
    const size_t budget = 3 * order.size() + 64;
    size_t comparisons = 0;
    for (size_t i = 1; i < order.size(); ++i) {
        const int row = order[i];
        size_t j = i;
        while (j > 0) {
            if (++comparisons > budget) {
                order[j] = row;
                return false;
            }
            if (!goesBefore(row, order[j - 1]))
                break;
            order[j] = order[j - 1];
            --j;
        }
        order[j] = row;
    }
    return true;
}

std::vector<int> keywordOrder(const std::vector<KeywordRow>& rows, bool ascending,
                              const KeywordCollation& keywords)
{
    const KeywordTexts texts(rows);
    const size_t n = texts.size();

    std::vector<int> order = orderOfByteKeys(characterRankKeys(texts, keywords), ascending);
    if (mendOrder(order, texts, ascending, keywords))
        return order;

    const QCollator& collator = keywords.collator();
    if (collator.locale().language() == QLocale::C) {
        // Code-point order without case; Qt's C-locale sort keys would keep
        // case, so the text is folded here.
        ByteKeys keys;
        for (size_t i = 0; i < n; ++i) {
            const QByteArray folded = texts.at(i).toString().toCaseFolded().toUtf8();
            keys.bytes.insert(keys.bytes.end(), folded.begin(), folded.end());
            keys.endKey();
        }
        order = orderOfByteKeys(keys, ascending);
    } else {
        std::vector<std::pair<QCollatorSortKey, int>> keyed;
        keyed.reserve(n);
        for (size_t i = 0; i < n; ++i)
            keyed.emplace_back(collator.sortKey(texts.at(i).toString()), static_cast<int>(i));
        order = orderOf(keyed, ascending, [](const QCollatorSortKey& a, const QCollatorSortKey& b) {
            return sign(a.compare(b));
        });
    }
    if (mendOrder(order, texts, ascending, keywords))
        return order;

    for (size_t i = 0; i < n; ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = keywords.compareText(texts.at(size_t(a)), texts.at(size_t(b)));
        return ascending ? c < 0 : c > 0;
    });
    return order;
}

} // namespace

std::vector<int> sortOrder(const std::vector<KeywordRow>& rows, int column, bool ascending,
                           const KeywordCollation& keywords)
{
    if (column == KeywordTableModel::Keywords)
        return keywordOrder(rows, ascending, keywords);
    const int n = static_cast<int>(rows.size());
    if (column < 0 || column >= KeywordTableModel::ColumnCount) {
        std::vector<int> same(rows.size());
        for (int i = 0; i < n; ++i)
            same[static_cast<size_t>(i)] = i;
        return same;
    }
    std::vector<std::pair<qint64, int>> keyed;
    keyed.reserve(rows.size());
    for (int i = 0; i < n; ++i)
        keyed.emplace_back(countValue(numberCell(rows[static_cast<size_t>(i)], column)), i);
    return orderOf(keyed, ascending, threeWay);
}

void sortTable(KeywordTableModel& model, int column, bool ascending)
{
    if (model.count() < 2)
        return;
    const KeywordCollation keywords;
    model.applyOrder(sortOrder(model.rows(), column, ascending, keywords));
}

} // namespace zanthe
