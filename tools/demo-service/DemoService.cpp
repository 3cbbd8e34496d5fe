#include "DemoService.h"

#include "ChallengeImage.h"
#include "DemoData.h"
#include "web/QueryEncoding.h"

#include <cctype>
#include <httplib.h>
#include <optional>

namespace zanthe::demo {

namespace {

constexpr char HtmlType[] = "text/html";

// Query keys and values, decoded, in the order sent.
struct Query {
    QList<std::pair<QByteArray, QByteArray>> items;

    static Query parse(const QByteArray& text)
    {
        Query query;
        for (const QByteArray& item : text.split('&')) {
            if (item.isEmpty())
                continue;
            const qsizetype eq = item.indexOf('=');
            const QByteArray key = eq < 0 ? item : item.left(eq);
            const QByteArray value = eq < 0 ? QByteArray() : item.mid(eq + 1);
            query.items.append({decodeQueryValue(key), decodeQueryValue(value)});
        }
        return query;
    }

    std::optional<QByteArray> value(const QByteArray& key) const
    {
        for (const auto& [k, v] : items)
            if (k == key)
                return v;
        return std::nullopt;
    }
};

QByteArray escapeHtml(const QByteArray& text)
{
    QByteArray out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

Reply htmlReply(const QByteArray& body)
{
    Reply reply;
    reply.status = 200;
    reply.contentType = HtmlType;
    reply.body = body;
    return reply;
}

QByteArray pageHead(const QByteArray& title)
{
    return "<html>\n<head><title>" + escapeHtml(title) +
           "</title></head>\n<body>\n"
           "<p><small>Zanthe demo service: made-up answers for testing, no real service "
           "was asked.</small></p>\n";
}

// The three engines' result pages, each carrying its own count markers.
QByteArray enginePage(Engine engine, const QByteArray& shownQuery, const QByteArray& count)
{
    const QByteArray query = escapeHtml(shownQuery);
    switch (engine) {
    case Engine::Google:
        return pageHead(shownQuery + " - Google Search") +
               "<table width=100% border=0 cellpadding=0 cellspacing=0><tr><td bgcolor=#e5ecf9>"
               "<font size=-1>Results <b>1</b> - <b>10</b> of about <b>" +
               count + "</b> for <b>" + query +
               "</b>. (<b>0.21</b> seconds)</font></td></tr></table>\n</body>\n</html>\n";
    case Engine::Yahoo:
        return pageHead(shownQuery + " - Yahoo! Search Results") +
               "<div id=\"info\"><p id=\"infotext\">1 - 10 of " + count + " for <strong>" + query +
               "</strong> - 0.14 sec.</p></div>\n</body>\n</html>\n";
    case Engine::Msn:
        return pageHead("Live Search: " + shownQuery) +
               "<div id=\"results_area\"><h5><span id=\"count\">1-10 of " + count +
               "</span> containing <strong>" + query + "</strong></h5></div>\n</body>\n</html>\n";
    }
    return {};
}

Reply engineReply(Engine engine, const QByteArray& value)
{
    // A precise search comes as the keyword between double quotes.
    const bool precise = value.size() >= 2 && value.startsWith('"') && value.endsWith('"');
    const QByteArray keyword = precise ? value.mid(1, value.size() - 2) : value;
    const QByteArray count = withThousands(searchCount(engine, keyword, precise));
    return htmlReply(enginePage(engine, value, count));
}

} // namespace

DemoService::DemoService(bool revealAnswers, int port)
    : m_revealAnswers(revealAnswers)
    , m_port(port)
    , m_random(std::random_device{}())
{}

void DemoService::attach(httplib::Server& server)
{
    server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        const Reply reply = handle(QByteArray::fromStdString(request.target),
                                   QByteArray::fromStdString(request.get_header_value("Host")));
        response.status = reply.status;
        if (m_revealAnswers && !reply.revealedAnswer.isEmpty())
            response.set_header("X-Demo-Answer", reply.revealedAnswer.toStdString());
        response.set_content(reply.body.toStdString(), reply.contentType.toStdString());
    });
}

Reply DemoService::handle(const QByteArray& target, const QByteArray& host)
{
    const qsizetype mark = target.indexOf('?');
    const QByteArray path = mark < 0 ? target : target.left(mark);
    const Query query = Query::parse(mark < 0 ? QByteArray() : target.mid(mark + 1));

    struct Route {
        const char* path;
        const char* key;
        Engine engine;
    };
    static constexpr Route Engines[] = {{"/google/search", "q", Engine::Google},
                                        {"/yahoo/search", "p", Engine::Yahoo},
                                        {"/msn/results.aspx", "q", Engine::Msn}};
    for (const Route& route : Engines) {
        if (path == route.path) {
            if (const auto value = query.value(route.key))
                return engineReply(route.engine, *value);
            return {};
        }
    }

    if (path == "/suggest/" || path == "/suggest") {
        if (const auto seed = query.value("seed"); seed && !seed->isEmpty())
            return suggestion(*seed, host);
        return {};
    }
    if (path == "/suggest/keyword-suggestion-tool.html") {
        const auto password = query.value("password");
        const auto random = query.value("random");
        if (!password || !random)
            return {};
        return answer(*password, *random, query.value("seed").value_or(QByteArray()), host);
    }
    if (path == "/suggest/challenge.png") {
        if (const auto random = query.value("random"))
            return image(*random);
        return {};
    }
    return {};
}

Reply DemoService::suggestion(const QByteArray& seed, const QByteArray& host)
{
    bool solved = false;
    {
        std::lock_guard lock(m_mutex);
        solved = m_solvedSeeds.contains(seed);
    }
    // Only the first request for a seed is challenged, so both paths of the
    // program can be seen in one session.
    return solved ? results(seed, host) : newChallenge(seed, host);
}

Reply DemoService::answer(const QByteArray& password, const QByteArray& random,
                          const QByteArray& seed, const QByteArray& host)
{
    // People type such answers in any case and with stray blanks.
    const auto normalised = [](const QByteArray& text) {
        QByteArray out = text.toUpper();
        out.replace(' ', QByteArray());
        return out;
    };
    std::optional<Challenge> challenge;
    {
        std::lock_guard lock(m_mutex);
        if (const auto it = m_challenges.constFind(random); it != m_challenges.constEnd()) {
            challenge = *it;
            // Every challenge can be tried once; a wrong answer gets a new one.
            m_challenges.erase(it);
        }
        if (challenge && normalised(password) == challenge->answer)
            m_solvedSeeds.insert(challenge->seed);
    }
    if (!challenge)
        return newChallenge(seed, host);
    if (normalised(password) != challenge->answer)
        return newChallenge(challenge->seed, host);
    return results(challenge->seed, host);
}

Reply DemoService::image(const QByteArray& random)
{
    QByteArray answer;
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_challenges.constFind(random);
        if (it == m_challenges.constEnd())
            return {};
        answer = it->answer;
    }
    Reply reply;
    reply.status = 200;
    reply.contentType = "image/png";
    reply.body = challengePng(answer, qHash(random));
    reply.revealedAnswer = answer;
    return reply;
}

Reply DemoService::newChallenge(const QByteArray& seed, const QByteArray& host)
{
    // No 0/O, 1/I or similar look-alikes; the first character is a letter so
    // the answer never turns up among the page's digits by chance.
    static constexpr char Letters[] = "ACDEFHJKLMNPRTUVWXY";
    static constexpr char Symbols[] = "ACDEFHJKLMNPRTUVWXY34679";
    QByteArray random;
    QByteArray answer;
    {
        std::lock_guard lock(m_mutex);
        do {
            random = QByteArray::number(
                std::uniform_int_distribution<quint64>(1000000000ULL, 9999999999ULL)(m_random));
        } while (m_challenges.contains(random));
        answer += Letters[std::uniform_int_distribution<int>(0, sizeof Letters - 2)(m_random)];
        while (answer.size() < 5)
            answer += Symbols[std::uniform_int_distribution<int>(0, sizeof Symbols - 2)(m_random)];
        m_challenges.insert(random, {seed, answer});
    }

    const QByteArray imageUrl =
        "http://" + safeHost(host) + "/suggest/challenge.png?random=" + random + "&amp;v=1";
    Reply reply =
        htmlReply(pageHead("Free Keyword Suggestion Tool") +
                  "<form action=\"/suggest/keyword-suggestion-tool.html\" method=\"get\">\n"
                  "<p>Please enter the characters in the image</p>\n"
                  "<input type=\"hidden\" name=\"random\" value=\"" +
                  random +
                  "\">\n"
                  "<input type=\"hidden\" name=\"seed\" value=\"" +
                  escapeHtml(seed) +
                  "\">\n"
                  "<img src=\"" +
                  imageUrl +
                  "\" width=\"200\" height=\"70\" alt=\"security image\"><br>\n"
                  "<input type=\"text\" name=\"password\" size=\"10\">\n"
                  "<input type=\"submit\" value=\"Ok\">\n"
                  "</form>\n</body>\n</html>\n");
    reply.revealedAnswer = answer;
    return reply;
}

Reply DemoService::results(const QByteArray& seed, const QByteArray& host) const
{
    const QList<Suggestion> rows = suggestionsFor(seed);
    QByteArray page = pageHead("Keyword suggestions for " + seed) +
                      "<table class=\"results\" border=\"1\">\n"
                      "<thead><tr><th>Searches</th><th>Keyword</th></tr></thead>\n"
                      "<tfoot><tr><th colspan=\"2\">" +
                      QByteArray::number(rows.size()) + " phrases related to " + escapeHtml(seed) +
                      "</th></tr></tfoot>\n<tbody>\n";
    for (const Suggestion& row : rows) {
        // Each phrase links to its own suggestions, as the real pages did.
        const QByteArray link = "http://" + safeHost(host) +
                                "/suggest/?seed=" + encodeQueryValue(row.phrase) +
                                "&amp;adult_filter=remove_offensive&amp;suggest=Hit+Me";
        QByteArray phrase = row.phrase;
        phrase.replace('&', "&amp;");
        page += "<tr><td><b>" + withThousands(row.searches) + "</b></td><td><a href=\"" + link +
                "\">" + phrase + "</a></td></tr>\n";
    }
    page += "</tbody>\n</table>\n</body>\n</html>\n";
    return htmlReply(page);
}

QByteArray DemoService::safeHost(const QByteArray& host) const
{
    // The Host header ends up in a page; take it only when it looks like one.
    bool plain = !host.isEmpty();
    for (const char c : host)
        plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == ':' ||
                          c == '-' || c == '[' || c == ']');
    return plain ? host : "127.0.0.1:" + QByteArray::number(m_port);
}

} // namespace zanthe::demo
