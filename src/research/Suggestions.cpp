#include "Suggestions.h"

#include "table/KeywordTableModel.h"
#include "web/QueryEncoding.h"
#include "web/TextUtils.h"

namespace zanthe {

bool isChallengePage(const QByteArray& page)
{
    return page.contains(ChallengeText);
}

QByteArray suggestionRequestUrl(const QByteArray& serviceBase, const QByteArray& seed)
{
    return serviceBase + "/?seed=" + encodeQueryValue(seed) +
           "&adult_filter=remove_offensive&suggest=Hit+Me";
}

QByteArray answerRequestUrl(const QByteArray& serviceBase, const QByteArray& answer,
                            const QByteArray& randomValue, const QByteArray& seedValue)
{
    return serviceBase + "/keyword-suggestion-tool.html?password=" + encodeQueryValue(answer) +
           "&random=" + encodeQueryValue(randomValue) + "&seed=" + encodeQueryValue(seedValue);
}

int ParseSuggestionTable(const QByteArray& page, KeywordTableModel& table, const RowAdded& rowAdded)
{
    // The footer test is case-sensitive; the marker searches below are not.
    if (!page.contains("</tfoot>"))
        return 0;
    PageCursor cursor(page);
    // Past the footer's closing tag, to the first ">" after it.
    ExtractBetween("</tfoot>", ">", 0, cursor);

    int added = 0;
    QByteArray count = StripHtml(ExtractBetween("<tr><td>", "</td>", 0, cursor));
    while (!count.isEmpty()) {
        const int number = table.count() + 1;
        // The phrase is the text of the next link after the count cell.
        const QByteArray phrase = StripHtml(ExtractBetween("\">", "</a>", 0, cursor));
        table.appendRow(QByteArray::number(number), {phrase, count, {}, {}, {}});
        ++added;
        if (rowAdded)
            rowAdded(table.count());
        count = StripHtml(ExtractBetween("<tr><td>", "</td>", 0, cursor));
    }
    return added;
}

} // namespace zanthe
