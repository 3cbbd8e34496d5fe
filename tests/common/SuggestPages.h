#pragma once

#include <QByteArray>
#include <QList>

#include <utility>

// Pages in the shape the suggestion service sends them.
namespace zanthe::test {

// A challenge page as the service sends it: the hidden values, then the image.
inline QByteArray challengePage(const QByteArray& random, const QByteArray& seed,
                                const QByteArray& src)
{
    return "<html><body><form action=\"/keyword-suggestion-tool.html\">\r\n"
           "<p>Please enter the characters in the image</p>\r\n"
           "<input type=\"hidden\" name=\"random\" value=\"" +
           random +
           "\">\r\n"
           "<input type=\"hidden\" name=\"seed\" value=\"" +
           seed +
           "\">\r\n"
           "<img src=\"" +
           src +
           "\" width=\"200\" height=\"60\">\r\n"
           "<input type=\"text\" name=\"password\"></form></body></html>\r\n";
}

// A results page: one table row per (count cell, phrase) pair, after the
// table's footer.
inline QByteArray resultsPage(const QList<std::pair<QByteArray, QByteArray>>& rows)
{
    QByteArray page = "<html><body><table class=\"results\">\r\n"
                      "<thead><tr><th>Searches</th><th>Keyword</th></tr></thead>\r\n"
                      "<tfoot><tr><td colspan=\"2\">Free keyword suggestions</td></tr></tfoot>\r\n"
                      "<tbody>\r\n";
    for (const auto& [count, phrase] : rows)
        page +=
            "<tr><td>" + count + "</td><td><a href=\"/?seed=x\">" + phrase + "</a></td></tr>\r\n";
    page += "</tbody></table></body></html>\r\n";
    return page;
}

} // namespace zanthe::test
