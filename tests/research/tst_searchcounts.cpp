#include "SearchEngineServer.h"
#include "TestSupport.h"

#include "research/SearchCounts.h"
#include "table/KeywordTableModel.h"
#include "web/PageFetcher.h"
#include "web/TextLines.h"

#include <QBuffer>
#include <QTest>

using namespace zanthe;
using zanthe::test::SearchEngineServer;

namespace {

// A fetch as the window's DownloadPage does it, without the window: the page
// comes over HTTP from the loopback server.
struct LoopbackFetch {
    PageFetcher fetcher;
    bool operator()(const QByteArray& url, QByteArray& page)
    {
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        if (!fetcher.Get(url, &body))
            return false;
        page = toPageText(body.data());
        return true;
    }
};

void addRow(KeywordTableModel& items, const QByteArray& keyword, bool checked = false)
{
    const QByteArray n = QByteArray::number(items.count() + 1);
    items.appendRow(n, {keyword, "searches " + n, "old g", "old y", "old m"});
    items.setChecked(items.count() - 1, checked);
}

QByteArrayList engineTexts(const KeywordTableModel& items, int row)
{
    return {items.text(row, KeywordTableModel::GoogleText),
            items.text(row, KeywordTableModel::YahooText),
            items.text(row, KeywordTableModel::MsnText)};
}

} // namespace

class TestSearchCounts final : public QObject {
    Q_OBJECT
private slots:
    void searchUrls_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QByteArray>("keyword");
        QTest::addColumn<bool>("broad");
        QTest::addColumn<QByteArray>("url");
        const QByteArray g = "http://g.test:81/pre";
        QTest::newRow("google precise")
            << 0 << QByteArray("golf clubs") << false << g + "/search?q=%22golf+clubs%22";
        QTest::newRow("google broad")
            << 0 << QByteArray("golf clubs") << true << g + "/search?q=golf+clubs";
        QTest::newRow("yahoo precise") << 1 << QByteArray("golf clubs") << false
                                       << QByteArray("http://y.test/search?p=%22golf+clubs%22");
        QTest::newRow("msn broad") << 2 << QByteArray("golf clubs") << true
                                   << QByteArray("http://m.test/results.aspx?q=golf+clubs");
        QTest::newRow("query syntax is escaped")
            << 0 << QByteArray("c++ & co") << false << g + "/search?q=%22c%2B%2B+%26+co%22";
        QTest::newRow("two blanks") << 0 << QByteArray("a  b") << true << g + "/search?q=a++b";
        QTest::newRow("fragment and percent")
            << 0 << QByteArray("#1 50%") << true << g + "/search?q=%231+50%25";
        QTest::newRow("quotes in the keyword")
            << 0 << QByteArray("\"x\"") << false << g + "/search?q=%22%22x%22%22";
        QTest::newRow("8-bit bytes")
            << 0 << QByteArray("caf\xe9 \xc3\xa9") << true << g + "/search?q=caf%E9+%C3%A9";
        QTest::newRow("unreserved stay")
            << 0 << QByteArray("a-b.c_d~e") << true << g + "/search?q=a-b.c_d~e";
    }
    void searchUrls()
    {
        QFETCH(int, engine);
        QFETCH(QByteArray, keyword);
        QFETCH(bool, broad);
        QFETCH(QByteArray, url);
        Endpoints e;
        e.google = "http://g.test:81/pre";
        e.yahoo = "http://y.test";
        e.msn = "http://m.test";
        QCOMPARE(searchUrl(e, searchEngines()[engine], keyword, broad), url);
    }

    void readCount_data()
    {
        using namespace zanthe::test;
        QTest::addColumn<int>("engine");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("count");
        QTest::newRow("google") << 0 << googlePage("1,230,000") << QByteArray("1,230,000");
        QTest::newRow("yahoo") << 1 << yahooPage("45,600") << QByteArray("45,600");
        QTest::newRow("msn") << 2 << msnPage("789") << QByteArray("789");
        QTest::newRow("markers in another case")
            << 0 << QByteArray("<FONT SIZE=-1>RESULTS 1 - 10 OF ABOUT <B>5</B>") << QByteArray("5");
        QTest::newRow("yahoo: an earlier \"of \" is skipped by the lead-in")
            << 1 << "list of links\n" + yahooPage("12") << QByteArray("12");
        QTest::newRow("no markers") << 0 << QByteArray("<html>nothing</html>") << QByteArray();
        QTest::newRow("lead-in missing: first marker in the page")
            << 0 << QByteArray("x of about <b>77</b> y of about <b>88</b>") << QByteArray("77");
        QTest::newRow("marker after the count missing")
            << 2 << QByteArray("<span id=\"count\">1-10 of 99") << QByteArray();
        QTest::newRow("whatever lies between")
            << 1 << QByteArray("\"infotext\">of <b>many</b> for ") << QByteArray("<b>many</b>");
    }
    void readCount()
    {
        QFETCH(int, engine);
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, count);
        QCOMPARE(readEngineCount(page, searchEngines()[engine]), count);
    }

    void runOverServer_data()
    {
        QTest::addColumn<bool>("broad");
        QTest::newRow("precise") << false;
        QTest::newRow("broad") << true;
    }
    void runOverServer()
    {
        QFETCH(bool, broad);
        const QByteArray q = broad ? "" : "%22";
        SearchEngineServer server;
        const QByteArrayList values = {q + "golf+clubs" + q, q + "tennis" + q,
                                       q + "c%2B%2B+%26+co" + q};
        server.count(SearchEngineServer::Google, values[0], "1,000");
        server.count(SearchEngineServer::Yahoo, values[0], "2,000");
        server.count(SearchEngineServer::Msn, values[0], "3,000");
        server.count(SearchEngineServer::Google, values[1], "11");
        server.count(SearchEngineServer::Yahoo, values[1], "22");
        // No MSN count for "tennis": its page has no markers.
        server.count(SearchEngineServer::Google, values[2], "7");
        server.count(SearchEngineServer::Yahoo, values[2], "8");
        server.count(SearchEngineServer::Msn, values[2], "9");

        KeywordTableModel items;
        addRow(items, "golf clubs", true);
        addRow(items, "tennis");
        addRow(items, "c++ & co", true);
        LoopbackFetch fetch;
        int pumps = 0;
        SearchCountRun run;
        run.endpoints = server.endpoints();
        run.broadSearch = broad;
        run.fetch = std::ref(fetch);
        run.aborted = [] { return false; };
        run.pump = [&] { ++pumps; };
        CollectSearchCounts(items, run);

        QByteArrayList expectedTargets;
        for (const QByteArray& v : values)
            expectedTargets << "/google/search?q=" + v << "/yahoo/search?p=" + v
                            << "/msn/results.aspx?q=" + v;
        QCOMPARE(server.http.targets(), expectedTargets);
        QCOMPARE(engineTexts(items, 0), (QByteArrayList{"1,000", "2,000", "3,000"}));
        QCOMPARE(engineTexts(items, 1), (QByteArrayList{"11", "22", ""}));
        QCOMPARE(engineTexts(items, 2), (QByteArrayList{"7", "8", "9"}));
        QCOMPARE(pumps, 9);
        // Nothing else of a row is touched.
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(items.row(r).caption, QByteArray::number(r + 1));
            QCOMPARE(items.text(r, KeywordTableModel::SearchesText),
                     "searches " + QByteArray::number(r + 1));
        }
        QVERIFY(items.isChecked(0) && !items.isChecked(1) && items.isChecked(2));
    }

    // A failed fetch leaves its engine's text; the run goes on while the
    // abort flag is clear.
    void failedFetchKeepsText()
    {
        SearchEngineServer server;
        server.count(SearchEngineServer::Google, "%22a%22", "1");
        server.handler(SearchEngineServer::Yahoo, "%22a%22",
                       [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
        server.count(SearchEngineServer::Msn, "%22a%22", "3");
        KeywordTableModel items;
        addRow(items, "a");
        LoopbackFetch fetch;
        SearchCountRun run;
        run.endpoints = server.endpoints();
        run.fetch = std::ref(fetch);
        run.aborted = [] { return false; };
        CollectSearchCounts(items, run);
        QCOMPARE(engineTexts(items, 0), (QByteArrayList{"1", "old y", "3"}));
        QCOMPARE(server.http.requests().size(), 3);
    }

    // The flag set while a count is shown ends the run at once; rows added
    // during the run are not visited.
    void runEnds()
    {
        SearchEngineServer server;
        for (const QByteArray v : {"%22a%22", "%22b%22"}) {
            server.count(SearchEngineServer::Google, v, "g");
            server.count(SearchEngineServer::Yahoo, v, "y");
            server.count(SearchEngineServer::Msn, v, "m");
        }
        KeywordTableModel items;
        addRow(items, "a");
        addRow(items, "b");
        LoopbackFetch fetch;
        bool aborted = false;
        int pumps = 0;
        SearchCountRun run;
        run.endpoints = server.endpoints();
        run.fetch = std::ref(fetch);
        run.aborted = [&] { return aborted; };
        run.pump = [&] {
            if (++pumps == 1)
                addRow(items, "added");
        };
        CollectSearchCounts(items, run);
        QCOMPARE(items.count(), 3);
        QCOMPARE(engineTexts(items, 1), (QByteArrayList{"g", "y", "m"}));
        QCOMPARE(engineTexts(items, 2), (QByteArrayList{"old g", "old y", "old m"}));
        QCOMPARE(server.http.requests().size(), 6);

        server.http.clearLog();
        pumps = 0;
        run.pump = [&] { aborted = ++pumps == 2; };
        addRow(items, "a");
        items.setText(0, KeywordTableModel::MsnText, "kept");
        CollectSearchCounts(items, run);
        QCOMPARE(engineTexts(items, 0), (QByteArrayList{"g", "y", "kept"}));
        QCOMPARE(server.http.requests().size(), 2);
    }
};

ZANTHE_TEST(TestSearchCounts)
#include "tst_searchcounts.moc"
