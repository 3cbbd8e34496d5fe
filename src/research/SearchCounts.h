#pragma once

#include "research/Endpoints.h"

#include <QByteArray>

#include <array>
#include <functional>

namespace zanthe {

class KeywordTableModel;

// One search engine of the count run: where it is asked and where its result
// page shows the number of results.
struct SearchEngine {
    const char* name;
    QByteArray Endpoints::*address; // the engine's base address in Endpoints
    const char* pathAndKey;
    const char* leadIn;      // marker somewhere before the count
    const char* beforeCount; // marker right in front of the count
    const char* afterCount;  // marker right after the count
    int text;                // the row text the count goes to
};

// Google, Yahoo and MSN, asked in this order for every row.
const std::array<SearchEngine, 3>& searchEngines();

// "%22" around the keyword for a precise search, nothing for a broad one.
QByteArray searchQuoteText(bool broadSearch);

// The address asked for one keyword: engine address, path and query key,
// then the quote text, the encoded keyword and the quote text again.
QByteArray searchUrl(const Endpoints& endpoints, const SearchEngine& engine,
                     const QByteArray& keyword, bool broadSearch);

// The count on a result page, exactly as the page shows it: from the lead-in
// marker to the marker before the count (thrown away), then from there to the
// marker after it. Empty when the markers are not found.
QByteArray readEngineCount(const QByteArray& page, const SearchEngine& engine);

// Stores one count into a row's engine text, then lets the window repaint.
void SetEngineCount(KeywordTableModel& items, int row, int text, const QByteArray& count,
                    const std::function<void()>& pump);

// What a count run needs from its window.
struct SearchCountRun {
    Endpoints endpoints;
    bool broadSearch = false;
    // DownloadPage: the address in, the success flag and the page text out.
    std::function<bool(const QByteArray& url, QByteArray& page)> fetch;
    // The abort flag (also true once the window is gone).
    std::function<bool()> aborted;
    // Lets pending window events run (after every stored count).
    std::function<void()> pump;
};

// Asks every engine for every row, in the table's order at the start, and
// writes the counts into the rows. The row count is taken once; the run ends
// at the first test that finds the abort flag set. A failed fetch leaves the
// engine's text as it was.
void CollectSearchCounts(KeywordTableModel& items, const SearchCountRun& run);

} // namespace zanthe
