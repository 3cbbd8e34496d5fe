#pragma once

#include "LoopbackHttp.h"

#include "research/Endpoints.h"

#include <QMap>

namespace zanthe::test {

// Result pages as the three engines served them to the program's agent.
inline QByteArray googlePage(const QByteArray& count)
{
    return "<html><body><table><tr><td><font size=-1>Results <b>1</b> - <b>10</b> of about <b>" +
           count + "</b> for <b>golf</b>.</font></td></tr></table>\n</body></html>\n";
}
inline QByteArray yahooPage(const QByteArray& count)
{
    return "<html><body>\n<div id=\"info\"><span class=\"infotext\">1 - 10 of " + count +
           " for <strong>golf</strong></span></div>\n</body></html>\n";
}
inline QByteArray msnPage(const QByteArray& count)
{
    return "<html><body><div><SPAN ID=\"Count\">1-10 of " + count +
           "</span> results</div></body></html>\n";
}

// Stand-ins for Google, Yahoo and MSN on one loopback server, under the path
// prefixes /google, /yahoo and /msn. Each engine answers a query value (as
// sent, still encoded) with the count set for it, a page without markers
// when none is set, or whatever handler was set for it.
class SearchEngineServer final {
public:
    enum Engine { Google, Yahoo, Msn };

    SearchEngineServer()
    {
        route(Google, "/google/search", "q");
        route(Yahoo, "/yahoo/search", "p");
        route(Msn, "/msn/results.aspx", "q");
    }

    Endpoints endpoints() const
    {
        Endpoints e;
        e.google = http.base() + "/google";
        e.yahoo = http.base() + "/yahoo";
        e.msn = http.base() + "/msn";
        return e;
    }

    void count(Engine engine, const QByteArray& value, const QByteArray& count)
    {
        std::lock_guard lock(m_mutex);
        m_counts[engine].insert(value, count);
    }
    void handler(Engine engine, const QByteArray& value, LoopbackHttp::Handler h)
    {
        std::lock_guard lock(m_mutex);
        m_handlers[engine].insert(value, std::move(h));
    }

private:
    std::mutex m_mutex;
    QMap<QByteArray, QByteArray> m_counts[3];
    QMap<QByteArray, LoopbackHttp::Handler> m_handlers[3];

public:
    // Last, so it stops before the answers it reads go away.
    LoopbackHttp http;

private:
    void route(Engine engine, const QByteArray& path, const QByteArray& key)
    {
        http.on(path, [this, engine, key](const httplib::Request& req, httplib::Response& res) {
            const QByteArray target = QByteArray::fromStdString(req.target);
            const QByteArray lead = '?' + key + '=';
            const qsizetype at = target.indexOf(lead);
            const QByteArray value = at < 0 ? QByteArray() : target.mid(at + lead.size());
            LoopbackHttp::Handler custom;
            QByteArray count;
            bool known = false;
            {
                std::lock_guard lock(m_mutex);
                custom = m_handlers[engine].value(value);
                known = m_counts[engine].contains(value);
                count = m_counts[engine].value(value);
            }
            if (custom) {
                custom(req, res);
                return;
            }
            QByteArray body = "<html><body>No results page of this kind.</body></html>\n";
            if (known)
                body = engine == Google  ? googlePage(count)
                       : engine == Yahoo ? yahooPage(count)
                                         : msnPage(count);
            res.set_content(body.toStdString(), "application/octet-stream");
        });
    }
};

} // namespace zanthe::test
