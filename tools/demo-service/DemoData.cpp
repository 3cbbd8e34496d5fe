#include "DemoData.h"

#include <algorithm>
#include <array>

namespace zanthe::demo {

namespace {

// FNV-1a followed by a finaliser, so that near-identical keywords still get
// unrelated numbers.
quint64 hashOf(const QByteArray& text)
{
    quint64 h = 14695981039346656037ULL;
    for (const char ch : text) {
        h ^= static_cast<unsigned char>(ch);
        h *= 1099511628211ULL;
    }
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebULL;
    h ^= h >> 31;
    return h;
}

const char* engineTag(Engine engine)
{
    switch (engine) {
    case Engine::Google:
        return "google";
    case Engine::Yahoo:
        return "yahoo";
    case Engine::Msn:
        return "msn";
    }
    return "";
}

constexpr std::array Prefixes{"best",      "cheap",   "buy",          "used",       "discount",
                              "new",       "free",    "top",          "custom",     "affordable",
                              "wholesale", "vintage", "professional", "lightweight"};
constexpr std::array Suffixes{"reviews", "for sale", "online",        "prices",  "deals",
                              "store",   "guide",    "comparison",    "ratings", "accessories",
                              "parts",   "sale",     "for beginners", "catalog"};

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

quint64 searchCount(Engine engine, const QByteArray& keyword, bool precise)
{
    const quint64 h = hashOf(QByteArray(engineTag(engine)) + '\0' + keyword);
    // Broad counts spread over 4 to 10 digits; 10-digit ones mostly lie above
    // 2,147,483,647, which a 32-bit reader would get wrong.
    const int digits = 4 + static_cast<int>(h % 7);
    quint64 low = 1;
    for (int i = 1; i < digits; ++i)
        low *= 10;
    const quint64 broad = low + (h >> 8) % (9 * low);
    if (!precise)
        return broad;
    // An exact phrase finds fewer pages than its loose words; broad >= 1000,
    // so the precise count is never zero and never equal to the broad one.
    return broad / (2 + (h >> 40) % 39);
}

QByteArray withThousands(quint64 value)
{
    const QByteArray digits = QByteArray::number(value);
    QByteArray out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits.at(i);
    }
    return out;
}

QList<Suggestion> suggestionsFor(const QByteArray& seed)
{
    const QByteArray base = seed.simplified();
    if (base.isEmpty())
        return {};

    QByteArrayList singles;
    for (const char* prefix : Prefixes)
        singles += QByteArray(prefix) + ' ' + base;
    for (const char* suffix : Suffixes)
        singles += base + ' ' + suffix;
    QByteArrayList combined;
    for (const char* prefix : Prefixes)
        for (const char* suffix : Suffixes)
            combined += QByteArray(prefix) + ' ' + base + ' ' + suffix;

    // Which phrases appear depends on the seed, but always the same way.
    const auto byHash = [](const QByteArray& a, const QByteArray& b) {
        return hashOf(a) < hashOf(b);
    };
    std::sort(singles.begin(), singles.end(), byHash);
    std::sort(combined.begin(), combined.end(), byHash);

    const int wanted = 20 + static_cast<int>(hashOf(base) % 31);
    QList<Suggestion> out;
    // The seed itself is the most searched phrase and always above 1,000, so
    // every page carries a thousands separator.
    out.append({base, 5000 + hashOf(base + "#count") % 95000});
    for (const QByteArray& phrase : singles) {
        if (out.size() == wanted)
            break;
        out.append({phrase, 50 + hashOf(phrase + "#count") % 4950});
    }
    for (const QByteArray& phrase : combined) {
        if (out.size() == wanted)
            break;
        out.append({phrase, 1 + hashOf(phrase + "#count") % 900});
    }
    std::stable_sort(out.begin(), out.end(), [](const Suggestion& a, const Suggestion& b) {
        return a.searches > b.searches;
    });
    return out;
}

QByteArray decodeQueryValue(const QByteArray& value)
{
    QByteArray out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < value.size() && hexValue(value.at(i + 1)) >= 0 &&
                   hexValue(value.at(i + 2)) >= 0) {
            out += static_cast<char>(hexValue(value.at(i + 1)) * 16 + hexValue(value.at(i + 2)));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace zanthe::demo
