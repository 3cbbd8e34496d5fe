#include "TextUtils.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace zanthe {

namespace {

// Marker searches fold the ASCII letters only; accented and all other bytes
// compare as they are.
inline char foldCase(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Position of the first occurrence of marker in page at or after from,
// ignoring ASCII case, or -1. Knuth-Morris-Pratt, so the cost is the bytes
// scanned plus the marker length, whatever the page holds.
qsizetype findFolded(QByteArrayView page, qsizetype from, QByteArrayView marker)
{
    const qsizetype m = marker.size();
    if (m == 0 || page.size() - from < m)
        return -1;
    // Plain buffers: this runs once per call, and markers are short.
    constexpr qsizetype Small = 64;
    char smallFolded[Small];
    qsizetype smallBorder[Small];
    std::vector<char> bigFolded;
    std::vector<qsizetype> bigBorder;
    char* want = smallFolded;
    qsizetype* back = smallBorder;
    if (m > Small) {
        bigFolded.resize(static_cast<size_t>(m));
        bigBorder.resize(static_cast<size_t>(m));
        want = bigFolded.data();
        back = bigBorder.data();
    }
    const char* markerData = marker.data();
    for (qsizetype i = 0; i < m; ++i)
        want[i] = foldCase(markerData[i]);
    // back[i]: length of the longest proper prefix of want[0..i] that is
    // also its suffix.
    back[0] = 0;
    for (qsizetype i = 1, k = 0; i < m; ++i) {
        while (k > 0 && want[i] != want[k])
            k = back[k - 1];
        if (want[i] == want[k])
            ++k;
        back[i] = k;
    }
    const char* data = page.data();
    const qsizetype size = page.size();
    // Outside a partial match, jump to the next byte that can begin one:
    // memchr for any other byte, both cases for a letter (c | 0x20 joins
    // exactly a letter's two cases).
    const char first = want[0];
    const bool letter = first >= 'A' && first <= 'Z';
    const char lower = static_cast<char>(first | 0x20);
    qsizetype matched = 0;
    for (qsizetype i = from; i < size; ++i) {
        if (matched == 0) {
            if (letter) {
                while (i < size && static_cast<char>(data[i] | 0x20) != lower)
                    ++i;
            } else {
                const void* hit = std::memchr(data + i, first, static_cast<size_t>(size - i));
                i = hit ? static_cast<const char*>(hit) - data : size;
            }
            if (i == size)
                return -1;
        }
        const char c = foldCase(data[i]);
        while (matched > 0 && want[matched] != c)
            matched = back[matched - 1];
        if (want[matched] == c && ++matched == m)
            return i - m + 1;
    }
    return -1;
}

} // namespace

QByteArray PageCursor::remaining() const
{
    return m_offset == 0 ? m_page : m_page.sliced(m_offset);
}

QByteArray ExtractBetween(const QByteArray& startMarker, const QByteArray& endMarker, int skip,
                          PageCursor& cursor)
{
    const QByteArrayView page(cursor.m_page);
    const qsizetype size = page.size();
    const qsizetype startPos = findFolded(page, cursor.m_offset, startMarker);
    if (startPos < 0)
        return {};
    const qsizetype afterStart = startPos + startMarker.size();
    const qsizetype from = std::clamp(afterStart + skip, cursor.m_offset, size);
    const qsizetype endPos = findFolded(page, from, endMarker);
    if (endPos < 0) {
        // Nothing was cut out, so the skipped bytes are not dropped unseen:
        // the cursor ends where a call without skip would leave it.
        cursor.m_offset = afterStart;
        return {};
    }
    cursor.m_offset = std::clamp(endPos + skip, from, size);
    return cursor.m_page.sliced(from, endPos - from);
}

QByteArray ReplaceAll(const QByteArray& text, const QByteArray& pattern,
                      const QByteArray& replacement)
{
    const qsizetype m = pattern.size();
    if (m == 0 || !text.contains(pattern))
        return text;
    if (replacement.contains(pattern)) {
        QByteArray once = text;
        return once.replace(pattern, replacement);
    }

    // Same result as replacing the first occurrence and searching again from
    // the start, in one pass: `out` is the finished front of the text and
    // never holds an occurrence, so the next first occurrence is the first
    // one to end as bytes are added. A replacement goes back in front of the
    // unread input, because it may join with what follows into a new
    // occurrence, and with what precedes it, which the tail check sees.
    QByteArray out;
    out.reserve(text.size());
    QByteArray pending; // replacement bytes still to be read, last one first
    QByteArray reversed = replacement;
    std::reverse(reversed.begin(), reversed.end());

    const char* in = text.constData();
    const qsizetype n = text.size();
    const char* pat = pattern.constData();
    const char last = pat[m - 1];
    qsizetype next = 0;
    for (;;) {
        char c;
        if (!pending.isEmpty()) {
            c = pending.back();
            pending.chop(1);
        } else if (next < n) {
            c = in[next++];
        } else {
            break;
        }
        out.append(c);
        if (c == last && out.size() >= m &&
            std::memcmp(out.constData() + out.size() - m, pat, static_cast<size_t>(m)) == 0) {
            out.chop(m);
            pending.append(reversed);
        }
    }
    return out;
}

QByteArray StripHtml(const QByteArray& text)
{
    struct Row {
        const char* pattern;
        const char* replacement;
    };
    // Order matters: "&amp;" first so escaped entities meet their own rows,
    // and the second "<BR>" removes only those that the removals before it
    // joined together.
    static constexpr std::array<Row, 50> Rows{{
        {"&amp;", "&"},    {"&nbsp;", " "}, {"\t", " "},          {"<wbr>", ""},
        {"&#039;", "'"},   {"Tel : ", ""},  {"Fax : ", ""},       {"<strong>", ""},
        {"</strong>", ""}, {"<em>", ""},    {"<hr>", ""},         {"<h3>", ""},
        {"</h3>", ""},     {"<H3>", ""},    {"</H3>", ""},        {"</em>", ""},
        {"<u>", ""},       {"</u>", ""},    {"</INVALID>", ""},   {"<br>", " "},
        {"<BR>", " "},     {"<tr>", ""},    {"</tr>", ""},        {"<td>", ""},
        {"</td>", ""},     {"<table>", ""}, {"</table>", ""},     {"</font>", ""},
        {"<b>", ""},       {"<i>", ""},     {"<blockquote>", ""}, {"</p>", ""},
        {"<p>", " "},      {"<P>", " "},    {"</P>", ""},         {"</b>", ""},
        {"</i>", ""},      {"</th>", ""},   {"<br />", ""},       {"</FONT>", ""},
        {"</TD>", ""},     {"<TD>", ""},    {"<B>", ""},          {"</B>", ""},
        {"<TR>", ""},      {"<BR>", ""},    {"</TR>", ""},        {"\"", ""},
        {"\n", " "},       {"\r", " "},
    }};

    QByteArray result = text;
    for (const Row& row : Rows)
        result = ReplaceAll(result, QByteArray(row.pattern), QByteArray(row.replacement));

    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    const char* begin = result.constData();
    const char* end = begin + result.size();
    const char* first = std::find_if_not(begin, end, isBlank);
    if (first == end)
        return {};
    const char* last = end;
    while (isBlank(*(last - 1)))
        --last;
    return result.sliced(first - begin, last - first);
}

} // namespace zanthe
