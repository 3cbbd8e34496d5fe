#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <utility>

namespace zanthe {

class PageCursor;

// Takes the text between the first startMarker and the first endMarker after
// it out of the cursor, both found ignoring the case of a-z/A-Z only.
// - No start marker (an empty one never occurs): returns empty text and
//   leaves the cursor unchanged.
// - Start marker found: the cursor moves past it (skip bytes further).
//   If no end marker follows (an empty one never occurs), returns empty text
//   and the cursor stays right after the start marker, whatever skip is.
//   Otherwise returns the text up to the end marker in the page's own case,
//   and the cursor moves to the end marker (skip bytes into it), so that the
//   next call can use this end marker as its start marker.
// Each call costs the bytes it scans, never the whole rest of the page.
QByteArray ExtractBetween(const QByteArray& startMarker, const QByteArray& endMarker, int skip,
                          PageCursor& cursor);

// A page being walked by ExtractBetween: the whole page plus how far the walk
// has come. Moving on only changes the offset, so nothing is ever copied.
class PageCursor final {
public:
    PageCursor() = default;
    explicit PageCursor(QByteArray page)
        : m_page(std::move(page))
    {}

    // The text still ahead of the cursor.
    QByteArray remaining() const;
    QByteArrayView remainingView() const { return QByteArrayView(m_page).sliced(m_offset); }
    qsizetype offset() const { return m_offset; }
    bool atEnd() const { return m_offset >= m_page.size(); }

private:
    friend QByteArray ExtractBetween(const QByteArray&, const QByteArray&, int, PageCursor&);

    QByteArray m_page;
    qsizetype m_offset = 0;
};

// Replaces the first occurrence of pattern (exact, case-sensitive) and
// searches again from the start, until none is left: occurrences that the
// replacing itself forms are replaced too. An empty pattern never occurs.
// The caller must pass a replacement shorter than the pattern, or a single
// byte other than a one-byte pattern; then every step shrinks the text or
// removes an occurrence, so the repetition ends. A replacement that contains
// the pattern could never end: each occurrence of the given text is then
// replaced once, left to right.
QByteArray ReplaceAll(const QByteArray& text, const QByteArray& pattern,
                      const QByteArray& replacement);

// Plain text of an HTML table cell: the fixed list of tag and entity
// replacements in order, then every byte of code 32 or less trimmed off both
// ends.
QByteArray StripHtml(const QByteArray& text);

} // namespace zanthe
