#include "SuggestPages.h"
#include "TestSupport.h"

#include "research/Challenge.h"
#include "research/Suggestions.h"
#include "table/KeywordTableModel.h"

#include <QTest>

using namespace zanthe;
using namespace zanthe::test;

namespace {

const QByteArray Base = "http://127.0.0.1:8080";

// The results table the service sends, written out by hand where a case
// needs a shape the page builder does not make.
const QByteArray Head = "<table><thead><tr><th>Searches</th><th>Keyword</th></tr></thead>\r\n"
                        "<tfoot><tr><td>Wordtracker</td></tr></tfoot>\r\n<tbody>\r\n";

QByteArray row(const QByteArray& countCell, const QByteArray& linkCell)
{
    return "<tr><td>" + countCell + "</td><td>" + linkCell + "</td></tr>\r\n";
}

QByteArray link(const QByteArray& text)
{
    return "<a href=\"/?seed=" + text + "\">" + text + "</a>";
}

using Rows = QList<QByteArrayList>; // caption, keyword, searches

Rows rowsOf(const KeywordTableModel& table, int from)
{
    Rows out;
    for (int i = from; i < table.count(); ++i) {
        const KeywordRow& r = table.row(i);
        out.append({r.caption, r.texts[0], r.texts[1]});
        // Google, Yahoo and Msn start out empty.
        if (!r.texts[2].isEmpty() || !r.texts[3].isEmpty() || !r.texts[4].isEmpty())
            out.last().append("engine text set");
    }
    return out;
}

} // namespace

class TestSuggestions final : public QObject {
    Q_OBJECT
private slots:
    void suggestionRequest_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<QByteArray>("seed");
        QTest::addColumn<QByteArray>("url");
        const QByteArray tail = "&adult_filter=remove_offensive&suggest=Hit+Me";
        QTest::newRow("one blank")
            << Base << QByteArray("golf clubs") << Base + "/?seed=golf+clubs" + tail;
        QTest::newRow("two blanks")
            << Base << QByteArray("golf  clubs") << Base + "/?seed=golf++clubs" + tail;
        QTest::newRow("leading and trailing blank")
            << Base << QByteArray(" golf ") << Base + "/?seed=+golf+" + tail;
        // Characters that would end the value or the request line are escaped.
        QTest::newRow("query characters")
            << Base << QByteArray("a&b=c#d+e%") << Base + "/?seed=a%26b%3Dc%23d%2Be%25" + tail;
        QTest::newRow("8-bit bytes")
            << Base << QByteArray("caf\xc3\xa9 \xe9") << Base + "/?seed=caf%C3%A9+%E9" + tail;
        QTest::newRow("path prefix") << QByteArray("http://127.0.0.1:9/mirror") << QByteArray("seo")
                                     << "http://127.0.0.1:9/mirror/?seed=seo" + tail;
    }
    void suggestionRequest()
    {
        QFETCH(QByteArray, base);
        QFETCH(QByteArray, seed);
        QFETCH(QByteArray, url);
        QCOMPARE(suggestionRequestUrl(base, seed), url);
    }

    void answerRequest_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("random");
        QTest::addColumn<QByteArray>("seed");
        QTest::addColumn<QByteArray>("url");
        const QByteArray path = Base + "/keyword-suggestion-tool.html?password=";
        QTest::newRow("plain") << QByteArray("x7Kp") << QByteArray("123") << QByteArray("abc")
                               << path + "x7Kp&random=123&seed=abc";
        // A blank in the answer must not break the request line.
        QTest::newRow("blank in answer")
            << QByteArray("ab cd") << QByteArray("123") << QByteArray("golf clubs")
            << path + "ab+cd&random=123&seed=golf+clubs";
        QTest::newRow("only a blank")
            << QByteArray(" ") << QByteArray() << QByteArray() << path + "+&random=&seed=";
        QTest::newRow("hidden values escaped")
            << QByteArray("a&b") << QByteArray("r/1=2") << QByteArray("s?#")
            << path + "a%26b&random=r%2F1%3D2&seed=s%3F%23";
    }
    void answerRequest()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, random);
        QFETCH(QByteArray, seed);
        QFETCH(QByteArray, url);
        const QByteArray built = answerRequestUrl(Base, answer, random, seed);
        QCOMPARE(built, url);
        QVERIFY(!built.contains("adult_filter"));
    }

    void challengeTest()
    {
        QVERIFY(isChallengePage("<p>Please enter the characters in the image</p>"));
        QVERIFY(isChallengePage(challengePage("1", "2", "/i.png")));
        QVERIFY(!isChallengePage("<p>please enter the characters in the image</p>"));
        QVERIFY(!isChallengePage(resultsPage({{"12", "golf"}})));
        QVERIFY(!isChallengePage(QByteArray()));
    }

    void parse_data()
    {
        QTest::addColumn<int>("rowsBefore");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<Rows>("added");

        QTest::newRow("three rows after ten")
            << 10 << resultsPage({{"120", "golf clubs"}, {"85", "golf"}, {"7", "golf balls"}})
            << Rows{{"11", "golf clubs", "120"}, {"12", "golf", "85"}, {"13", "golf balls", "7"}};
        QTest::newRow("empty table") << 0 << resultsPage({{"3", "seo"}}) << Rows{{"1", "seo", "3"}};
        QTest::newRow("bold count keeps its comma")
            << 0 << resultsPage({{"<b>1,234</b>", "golf"}}) << Rows{{"1", "golf", "1,234"}};
        QTest::newRow("cells cleaned")
            << 0 << resultsPage({{" 12\r\n", "golf &amp; <strong>tennis</strong>"}})
            << Rows{{"1", "golf & tennis", "12"}};
        // Only the test for the footer is case-sensitive.
        QTest::newRow("upper-case footer tag")
            << 0 << QByteArray(Head).replace("</tfoot>", "</TFOOT>") + row("5", link("golf"))
            << Rows{};
        QTest::newRow("upper-case row markers")
            << 0 << Head + "<TR><TD>5</TD><TD><A HREF=\"x\">Golf</A></TD></TR>"
            << Rows{{"1", "Golf", "5"}};
        QTest::newRow("no footer")
            << 0 << QByteArray("<table><tr><td>5</td><td>" + link("golf")) << Rows{};
        QTest::newRow("empty count cell stops reading")
            << 0
            << Head + row("40", link("golf")) + row("", link("tennis")) + row("9", link("polo"))
            << Rows{{"1", "golf", "40"}};
        QTest::newRow("count cell of tags only stops reading")
            << 0 << Head + row("<b></b>", link("golf")) + row("9", link("polo")) << Rows{};
        QTest::newRow("empty link text")
            << 0 << Head + row("6", "<a href=\"x\"></a>") + row("4", link("polo"))
            << Rows{{"1", "", "6"}, {"2", "polo", "4"}};
        QTest::newRow("no link after the last count")
            << 0 << Head + row("6", link("golf")) + row("4", "none")
            << Rows{{"1", "golf", "6"}, {"2", "", "4"}};
        // The footer skip runs to the first ">" after the footer, so a row
        // that follows the footer tag directly is passed over.
        QTest::newRow("row right after the footer")
            << 0
            << QByteArray("<tfoot></tfoot><tr><td>1</td><td>" + link("a") + "</td></tr>" +
                          row("2", link("b")))
            << Rows{{"1", "b", "2"}};
    }
    void parse()
    {
        QFETCH(int, rowsBefore);
        QFETCH(QByteArray, page);
        QFETCH(Rows, added);

        KeywordTableModel table;
        for (int i = 1; i <= rowsBefore; ++i)
            table.appendRow(QByteArray::number(i), {"old", {}, {}, {}, {}});
        QList<int> counts;
        const int n = ParseSuggestionTable(page, table, [&](int c) { counts.append(c); });

        QCOMPARE(rowsOf(table, rowsBefore), added);
        QCOMPARE(n, added.size());
        QList<int> expectedCounts;
        for (int i = 1; i <= added.size(); ++i)
            expectedCounts.append(rowsBefore + i);
        QCOMPARE(counts, expectedCounts);
        for (int i = 0; i < rowsBefore; ++i)
            QCOMPARE(table.row(i).texts[0], QByteArray("old"));
    }

    void loadChallenge_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("random");
        QTest::addColumn<QByteArray>("seed");
        QTest::addColumn<QByteArray>("image");

        const QByteArray randomInput = R"(<input type="hidden" name="random" value="123">)";
        const QByteArray seedInput = R"(<input type="hidden" name="seed" value="abc">)";
        QTest::newRow("in order") << challengePage("123", "abc", "/img?id=1&amp;x=2")
                                  << QByteArray("123") << QByteArray("abc")
                                  << QByteArray("/img?id=1&x=2");
        // Each search goes on from the previous one: a seed before the random
        // input is not seen, and the image is the first src after the random
        // value, not the logo before it.
        QTest::newRow("seed before random")
            << R"(<img src="/logo.gif">)" + seedInput + randomInput + R"(<img src="/c.png">)"
            << QByteArray("123") << QByteArray() << QByteArray("/c.png");
        QTest::newRow("upper-case tags")
            << QByteArray(R"(<INPUT TYPE="HIDDEN" NAME="RANDOM" VALUE="R9x">)"
                          R"(<INPUT TYPE="HIDDEN" NAME="SEED" VALUE="Golf Clubs">)"
                          R"(<IMG SRC="/Img.PNG?A=1">)")
            << QByteArray("R9x") << QByteArray("Golf Clubs") << QByteArray("/Img.PNG?A=1");
        QTest::newRow("one pass over &amp;amp;")
            << challengePage("1", "2", "/i?a=1&amp;amp;b=2&amp;c=3") << QByteArray("1")
            << QByteArray("2") << QByteArray("/i?a=1&amp;b=2&c=3");
        QTest::newRow("no src") << randomInput + seedInput + "<p>no picture</p>"
                                << QByteArray("123") << QByteArray("abc") << QByteArray();
        // A missing random input leaves the cursor at the start for the seed.
        QTest::newRow("no random input")
            << seedInput + R"(<img src="http://h/i.png">)" << QByteArray() << QByteArray("abc")
            << QByteArray("http://h/i.png");
        QTest::newRow("empty page") << QByteArray() << QByteArray() << QByteArray() << QByteArray();
        // The attribute forms that differ from the markers are not read.
        QTest::newRow("single-quoted value")
            << QByteArray("<input type='hidden' name='random' value='5'>") << QByteArray()
            << QByteArray() << QByteArray();
    }
    void loadChallenge()
    {
        QFETCH(QByteArray, page);
        const ChallengeFields f = LoadChallenge(page);
        QTEST(f.randomValue, "random");
        QTEST(f.seedValue, "seed");
        QTEST(f.imageUrl, "image");
    }

    void imageAddress_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<QByteArray>("imageUrl");
        QTest::addColumn<QString>("fetched"); // empty: refused

        QTest::newRow("absolute path")
            << Base << QByteArray("/img?id=1&x=2") << "http://127.0.0.1:8080/img?id=1&x=2";
        QTest::newRow("relative to the pages under a prefix")
            << QByteArray("http://127.0.0.1:8080/svc") << QByteArray("captcha.png?k=3")
            << "http://127.0.0.1:8080/svc/captcha.png?k=3";
        QTest::newRow("absolute path under a prefix")
            << QByteArray("http://127.0.0.1:8080/svc") << QByteArray("/captcha.png")
            << "http://127.0.0.1:8080/captcha.png";
        QTest::newRow("scheme-relative")
            << Base << QByteArray("//images.example/c.png") << "http://images.example/c.png";
        QTest::newRow("http kept") << Base << QByteArray("http://images.example:81/c.gif")
                                   << "http://images.example:81/c.gif";
        QTest::newRow("https kept")
            << Base << QByteArray("HTTPS://images.example/c.gif") << "https://images.example/c.gif";
        QTest::newRow("blanks around")
            << Base << QByteArray(" /c.png\r\n") << "http://127.0.0.1:8080/c.png";
        QTest::newRow("file") << Base << QByteArray("file:///etc/passwd") << QString();
        QTest::newRow("file upper-case") << Base << QByteArray("FILE:/etc/passwd") << QString();
        QTest::newRow("javascript") << Base << QByteArray("javascript:alert(1)") << QString();
        QTest::newRow("data") << Base << QByteArray("data:image/png;base64,iVBORw0KGgo=")
                              << QString();
        QTest::newRow("ftp") << Base << QByteArray("ftp://127.0.0.1/c.png") << QString();
        QTest::newRow("drive letter") << Base << QByteArray("C:\\captcha.png") << QString();
        QTest::newRow("http without host") << Base << QByteArray("http:///c.png") << QString();
        QTest::newRow("empty") << Base << QByteArray() << QString();
    }
    void imageAddress()
    {
        QFETCH(QByteArray, base);
        QFETCH(QByteArray, imageUrl);
        QFETCH(QString, fetched);
        const QUrl url = zanthe::imageAddress(imageUrl, base);
        QCOMPARE(url.toString(QUrl::FullyEncoded), fetched);
        QCOMPARE(url.isEmpty(), fetched.isEmpty());
    }
};

ZANTHE_TEST(TestSuggestions)
#include "tst_suggestions.moc"
