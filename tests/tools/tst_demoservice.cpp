#include "TestSupport.h"

#include "DemoData.h"
#include "web/QueryEncoding.h"

#include <QEventLoop>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <limits>

using namespace zanthe;
using demo::Engine;

namespace {

struct Fetched {
    int status = 0;
    QByteArray body;
    QByteArray contentType;
    QByteArray answer; // the X-Demo-Answer header
};

// Starts the real service binary on a free port; returns its base address.
QByteArray startService(QProcess& process, const QStringList& extra)
{
    process.start(QStringLiteral(ZANTHE_DEMO_SERVICE), QStringList{"--port", "0"} + extra);
    if (!process.waitForStarted(10000))
        return {};
    QByteArray out;
    while (!out.contains('\n') && process.waitForReadyRead(10000))
        out += process.readAllStandardOutput();
    const auto match = QRegularExpression("listening on (http://127\\.0\\.0\\.1:\\d+)\\n")
                           .match(QString::fromLatin1(out));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

void stopService(QProcess& process)
{
    process.kill();
    process.waitForFinished(5000);
}

Fetched fetch(const QByteArray& url)
{
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkReply* reply = manager.get(QNetworkRequest(QUrl::fromEncoded(url)));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    Fetched out;
    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    out.body = reply->readAll();
    out.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    out.answer = reply->rawHeader("X-Demo-Answer");
    delete reply;
    return out;
}

QByteArray hiddenValue(const QByteArray& page, const char* name)
{
    const auto match =
        QRegularExpression(QStringLiteral("<input type=\"hidden\" name=\"%1\" value=\"([^\"]*)\"")
                               .arg(QLatin1String(name)))
            .match(QString::fromUtf8(page));
    return match.captured(1).toUtf8();
}

// The engine's count as the program reads it: lead-in marker, then the text
// between the markers around the count.
QByteArray countBetween(const QByteArray& page, const QByteArray& leadIn, const QByteArray& before,
                        const QByteArray& after)
{
    const qsizetype lead = page.indexOf(leadIn);
    const qsizetype start = lead < 0 ? -1 : page.indexOf(before, lead + leadIn.size());
    const qsizetype end = start < 0 ? -1 : page.indexOf(after, start + before.size());
    return end < 0 ? QByteArray() : page.mid(start + before.size(), end - start - before.size());
}

// A keyword whose broad count does not fit a signed 32-bit number.
QByteArray keywordAbove32Bits(Engine engine)
{
    for (int i = 0;; ++i) {
        const QByteArray keyword = "golf clubs " + QByteArray::number(i);
        if (demo::searchCount(engine, keyword, false) > quint64(std::numeric_limits<qint32>::max()))
            return keyword;
    }
}

const QByteArray SuggestQuery = "&adult_filter=remove_offensive&suggest=Hit+Me";
const QByteArray ChallengeText = "Please enter the characters in the image";

} // namespace

class DemoServiceTest final : public QObject {
    Q_OBJECT

    QProcess m_service;
    QByteArray m_base;

    Fetched answer(const QByteArray& password, const QByteArray& random, const QByteArray& seed)
    {
        return fetch(m_base + "/suggest/keyword-suggestion-tool.html?password=" +
                     encodeQueryValue(password) + "&random=" + random +
                     "&seed=" + encodeQueryValue(seed));
    }

private slots:
    void initTestCase()
    {
        m_base = startService(m_service, {"--reveal-answers"});
        QVERIFY2(!m_base.isEmpty(), m_service.readAllStandardError().constData());
    }

    void cleanupTestCase() { stopService(m_service); }

    void challengeThenResults()
    {
        const QByteArray seed = "golf clubs";
        const Fetched first =
            fetch(m_base + "/suggest/?seed=" + encodeQueryValue(seed) + SuggestQuery);
        QCOMPARE(first.status, 200);
        QVERIFY(first.body.contains(ChallengeText));
        QCOMPARE(first.answer.size(), 5);
        QVERIFY(!first.body.contains(first.answer));
        const QByteArray random = hiddenValue(first.body, "random");
        QVERIFY(!random.isEmpty());
        QCOMPARE(hiddenValue(first.body, "seed"), seed);

        // The image address is absolute and used as the page writes it,
        // apart from its &amp;.
        const auto src =
            QRegularExpression("src=\"([^\"]*)\"").match(QString::fromLatin1(first.body));
        QByteArray imageUrl = src.captured(1).toLatin1();
        QVERIFY(imageUrl.contains("&amp;"));
        imageUrl.replace("&amp;", "&");
        QVERIFY(imageUrl.startsWith(m_base + "/suggest/"));
        const Fetched image = fetch(imageUrl);
        QCOMPARE(image.status, 200);
        QCOMPARE(image.contentType, QByteArray("image/png"));
        QCOMPARE(image.answer, first.answer);
        const QImage picture = QImage::fromData(image.body, "PNG");
        QVERIFY(!picture.isNull());
        QVERIFY(picture.width() >= 100 && picture.height() >= 40);

        // A wrong answer gets a new challenge; the tried one is gone, so its
        // right answer no longer counts either.
        const Fetched wrong = answer("wrong", random, seed);
        QVERIFY(wrong.body.contains(ChallengeText));
        QVERIFY(hiddenValue(wrong.body, "random") != random);
        QCOMPARE(fetch(imageUrl).status, 404);
        const Fetched stale = answer(first.answer, random, seed);
        QVERIFY(stale.body.contains(ChallengeText));

        // The right answer, typed in lower case, gets the results table.
        const Fetched results =
            answer(stale.answer.toLower(), hiddenValue(stale.body, "random"), seed);
        QCOMPARE(results.status, 200);
        QVERIFY(!results.body.contains(ChallengeText));
        const qsizetype footer = results.body.indexOf("</tfoot>");
        QVERIFY(footer > 0);
        const QList<demo::Suggestion> expected = demo::suggestionsFor(seed);
        QVERIFY(expected.size() >= 20 && expected.size() <= 50);
        const QRegularExpression row(
            "<tr><td>(.*?)</td><td><a href=\"[^\"]*\">(.*?)</a></td></tr>");
        auto rows = row.globalMatch(QString::fromUtf8(results.body.mid(footer)));
        bool separator = false;
        for (const demo::Suggestion& suggestion : expected) {
            QVERIFY(rows.hasNext());
            const auto match = rows.next();
            QByteArray count = match.captured(1).toUtf8();
            count.replace("<b>", "").replace("</b>", "");
            QCOMPARE(match.captured(2).toUtf8(), suggestion.phrase);
            QCOMPARE(count, demo::withThousands(suggestion.searches));
            separator = separator || count.contains(',');
        }
        QVERIFY(!rows.hasNext());
        QVERIFY(separator);

        // Once answered, the seed is not challenged again.
        const Fetched again = fetch(m_base + "/suggest/?seed=golf+clubs" + SuggestQuery);
        QVERIFY(!again.body.contains(ChallengeText));
        QVERIFY(again.body.contains("</tfoot>"));
    }

    void engineCounts_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QByteArray>("pathAndKey");
        QTest::addColumn<QByteArray>("leadIn");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QByteArray>("keyword");

        const QByteArray google[] = {"/google/search?q=", "<font size=-1>Results", "of about <b>",
                                     "</b>"};
        const QByteArray yahoo[] = {"/yahoo/search?p=", "\"infotext\">", "of ", " for "};
        const QByteArray msn[] = {"/msn/results.aspx?q=", "<span id=\"count\">", " of ", "</span>"};
        QTest::newRow("google") << Engine::Google << google[0] << google[1] << google[2]
                                << google[3] << QByteArray("golf clubs");
        QTest::newRow("yahoo") << Engine::Yahoo << yahoo[0] << yahoo[1] << yahoo[2] << yahoo[3]
                               << QByteArray("golf clubs");
        QTest::newRow("msn") << Engine::Msn << msn[0] << msn[1] << msn[2] << msn[3]
                             << QByteArray("golf clubs");
        QTest::newRow("google, escaped bytes")
            << Engine::Google << google[0] << google[1] << google[2] << google[3]
            << QByteArray("caf\xc3\xa9 & 100% tea+");
        QTest::newRow("yahoo, above 32 bits") << Engine::Yahoo << yahoo[0] << yahoo[1] << yahoo[2]
                                              << yahoo[3] << keywordAbove32Bits(Engine::Yahoo);
        QTest::newRow("msn, above 32 bits") << Engine::Msn << msn[0] << msn[1] << msn[2] << msn[3]
                                            << keywordAbove32Bits(Engine::Msn);
    }

    void engineCounts()
    {
        QFETCH(Engine, engine);
        QFETCH(QByteArray, pathAndKey);
        QFETCH(QByteArray, leadIn);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QByteArray, keyword);

        QByteArray counts[2];
        for (const bool precise : {false, true}) {
            const QByteArray quote = precise ? "%22" : "";
            const Fetched page =
                fetch(m_base + pathAndKey + quote + encodeQueryValue(keyword) + quote);
            QCOMPARE(page.status, 200);
            counts[precise] = countBetween(page.body, leadIn, before, after);
            QCOMPARE(counts[precise],
                     demo::withThousands(demo::searchCount(engine, keyword, precise)));
        }
        QVERIFY(counts[0] != counts[1]);
        QVERIFY(counts[0].contains(','));
    }

    void otherRequestsGet404_data()
    {
        QTest::addColumn<QByteArray>("pathAndQuery");
        QTest::newRow("root") << QByteArray("/");
        QTest::newRow("unknown service") << QByteArray("/bing/search?q=golf");
        QTest::newRow("google, yahoo's key") << QByteArray("/google/search?p=golf");
        QTest::newRow("yahoo, google's key") << QByteArray("/yahoo/search?q=golf");
        QTest::newRow("msn, wrong path") << QByteArray("/msn/search?q=golf");
        QTest::newRow("suggest without seed")
            << QByteArray("/suggest/?adult_filter=remove_offensive");
        QTest::newRow("unknown challenge image") << QByteArray("/suggest/challenge.png?random=1");
    }

    void otherRequestsGet404()
    {
        QFETCH(QByteArray, pathAndQuery);
        QCOMPARE(fetch(m_base + pathAndQuery).status, 404);
    }

    void answerStaysHiddenWithoutTestOption()
    {
        QProcess plain;
        const QByteArray base = startService(plain, {});
        QVERIFY(!base.isEmpty());
        const Fetched page = fetch(base + "/suggest/?seed=golf" + SuggestQuery);
        QVERIFY(page.body.contains(ChallengeText));
        QVERIFY(page.answer.isEmpty());
        const Fetched image =
            fetch(base + "/suggest/challenge.png?random=" + hiddenValue(page.body, "random"));
        QCOMPARE(image.status, 200);
        QVERIFY(image.answer.isEmpty());
        stopService(plain);
    }

    void suggestionsAreMadeFromTheSeed_data()
    {
        QTest::addColumn<QByteArray>("seed");
        QTest::newRow("one word") << QByteArray("golf");
        QTest::newRow("two words") << QByteArray("golf clubs");
        QTest::newRow("extra blanks") << QByteArray("  fly   fishing ");
        QTest::newRow("other seed") << QByteArray("garden furniture");
    }

    void suggestionsAreMadeFromTheSeed()
    {
        QFETCH(QByteArray, seed);
        const QByteArray base = seed.simplified();
        const QList<demo::Suggestion> suggestions = demo::suggestionsFor(seed);
        QVERIFY(suggestions.size() >= 20 && suggestions.size() <= 50);
        QSet<QByteArray> phrases;
        for (qsizetype i = 0; i < suggestions.size(); ++i) {
            const demo::Suggestion& s = suggestions.at(i);
            QVERIFY(s.phrase.contains(base));
            QVERIFY(s.searches > 0);
            QVERIFY(i == 0 || suggestions.at(i - 1).searches >= s.searches);
            phrases.insert(s.phrase);
        }
        QCOMPARE(phrases.size(), suggestions.size());
        QVERIFY(demo::suggestionsFor(" ").isEmpty());
    }
};

ZANTHE_TEST(DemoServiceTest)
#include "tst_demoservice.moc"
