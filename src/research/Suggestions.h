#pragma once

#include <QByteArray>

#include <functional>

namespace zanthe {

class KeywordTableModel;

// The text by which the suggestion service marks a security-image challenge.
inline constexpr const char* ChallengeText = "Please enter the characters in the image";

// True when the page asks for the characters of a security image (plain,
// case-sensitive test).
bool isChallengePage(const QByteArray& page);

// The request for suggestions on the seed phrase. serviceBase is scheme, host,
// optional port and path prefix, without a trailing slash.
QByteArray suggestionRequestUrl(const QByteArray& serviceBase, const QByteArray& seed);

// The request that sends a challenge answer back with the page's two hidden
// values (and nothing else).
QByteArray answerRequestUrl(const QByteArray& serviceBase, const QByteArray& answer,
                            const QByteArray& randomValue, const QByteArray& seedValue);

// Called after each appended row with the table's new row count.
using RowAdded = std::function<void(int rowCount)>;

// Appends one row per result row of a suggestion results page: numbered on
// from the table's row count, with the phrase, the count text as shown and
// three empty texts. Reading starts after the table's footer and stops at the
// first count cell that is missing or empty. Returns how many rows it added.
int ParseSuggestionTable(const QByteArray& page, KeywordTableModel& table,
                         const RowAdded& rowAdded = {});

} // namespace zanthe
