#include "SearchCounts.h"

#include "table/KeywordTableModel.h"
#include "web/QueryEncoding.h"
#include "web/TextUtils.h"

namespace zanthe {

const std::array<SearchEngine, 3>& searchEngines()
{
    static const std::array<SearchEngine, 3> engines = {{
        {"Google", &Endpoints::google, "/search?q=", "<font size=-1>Results", "of about <b>",
         "</b>", KeywordTableModel::GoogleText},
        {"Yahoo", &Endpoints::yahoo, "/search?p=", "\"infotext\">", "of ", " for ",
         KeywordTableModel::YahooText},
        {"MSN", &Endpoints::msn, "/results.aspx?q=", "<span id=\"count\">", " of ", "</span>",
         KeywordTableModel::MsnText},
    }};
    return engines;
}

QByteArray searchQuoteText(bool broadSearch)
{
    return broadSearch ? QByteArray() : QByteArray("%22");
}

QByteArray searchUrl(const Endpoints& endpoints, const SearchEngine& engine,
                     const QByteArray& keyword, bool broadSearch)
{
    const QByteArray quote = searchQuoteText(broadSearch);
    return endpoints.*engine.address + engine.pathAndKey + quote + encodeQueryValue(keyword) +
           quote;
}

QByteArray readEngineCount(const QByteArray& page, const SearchEngine& engine)
{
    PageCursor cursor(page);
    // The first call only moves the cursor onto the marker before the count.
    ExtractBetween(engine.leadIn, engine.beforeCount, 0, cursor);
    return ExtractBetween(engine.beforeCount, engine.afterCount, 0, cursor);
}

void SetEngineCount(KeywordTableModel& items, int row, int text, const QByteArray& count,
                    const std::function<void()>& pump)
{
    items.setText(row, text, count);
    if (pump)
        pump();
}

void CollectSearchCounts(KeywordTableModel& items, const SearchCountRun& run)
{
    const int rowCount = items.count();
    for (int row = 0; row < rowCount && !run.aborted(); ++row) {
        for (const SearchEngine& engine : searchEngines()) {
            // A fetch refused because of the flag would change nothing, so the
            // run ends here; after a pump the window may even be gone.
            if (run.aborted() || row >= items.count())
                return;
            const QByteArray keyword = items.text(row, KeywordTableModel::KeywordText);
            QByteArray page;
            if (!run.fetch(searchUrl(run.endpoints, engine, keyword, run.broadSearch), page))
                continue;
            SetEngineCount(items, row, engine.text, readEngineCount(page, engine), run.pump);
        }
    }
}

} // namespace zanthe
