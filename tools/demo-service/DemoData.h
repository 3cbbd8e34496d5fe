#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// What the demo service answers, as plain functions, so that a test can work
// out the very numbers and phrases the service meant to send.
namespace zanthe::demo {

enum class Engine { Google, Yahoo, Msn };

// Result count that the given engine reports for a keyword. The keyword is
// the decoded query value without the enclosing double quotes of a precise
// search. The same arguments always give the same count; a precise count is
// always smaller than the broad count for the same keyword and engine, and
// some counts exceed the 32-bit signed range.
quint64 searchCount(Engine engine, const QByteArray& keyword, bool precise);

// Decimal digits with a comma between every group of three: 1234567 gives
// "1,234,567".
QByteArray withThousands(quint64 value);

struct Suggestion {
    QByteArray phrase;
    quint64 searches = 0;
};

// The suggestion results for a seed, in page order (most searched first):
// 20 to 50 phrases made from the seed (blanks simplified) and common
// modifiers. An empty or blank seed gives no phrases.
QList<Suggestion> suggestionsFor(const QByteArray& seed);

// Undoes query-string encoding: "+" becomes a blank and %XX the byte XX; a
// "%" not followed by two hex digits stays as it is.
QByteArray decodeQueryValue(const QByteArray& value);

} // namespace zanthe::demo
