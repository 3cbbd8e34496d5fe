#include "TestSupport.h"

#include "web/TextUtils.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

using namespace zanthe;

namespace {

// Byte literal that keeps embedded NULs.
template <qsizetype N> QByteArray bytes(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

// The marker walk as first defined: upper-case copies of the whole rest of
// the page and of the markers, searched from the start (no skip).
QByteArray upperAscii(QByteArray s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

QByteArray referenceExtract(const QByteArray& start, const QByteArray& end, QByteArray& cursor)
{
    const qsizetype p1 = start.isEmpty() ? -1 : upperAscii(cursor).indexOf(upperAscii(start));
    if (p1 < 0)
        return {};
    cursor = cursor.mid(p1 + start.size());
    const qsizetype p2 = end.isEmpty() ? -1 : upperAscii(cursor).indexOf(upperAscii(end));
    if (p2 < 0)
        return {};
    const QByteArray result = cursor.left(p2);
    cursor = cursor.mid(p2);
    return result;
}

// Replace the first occurrence, search again from the start.
QByteArray referenceReplaceAll(QByteArray text, const QByteArray& pattern,
                               const QByteArray& replacement)
{
    if (pattern.isEmpty())
        return text;
    for (qsizetype p; (p = text.indexOf(pattern)) >= 0;)
        text.replace(p, pattern.size(), replacement);
    return text;
}

QByteArray randomText(QRandomGenerator& rng, const char* alphabet, int maxLength)
{
    const auto letters = static_cast<int>(qstrlen(alphabet));
    QByteArray s;
    const int length = rng.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i)
        s += alphabet[rng.bounded(letters)];
    return s;
}

} // namespace

class TestTextUtils final : public QObject {
    Q_OBJECT
private slots:
    void extractBetween_data();
    void extractBetween();
    void extractBetweenChainsOnEndMarker();
    void extractBetweenLoopStopsAtLastMarker();
    void extractBetweenMatchesWholeCopyWalk();
    void extractBetweenWalksLargePageInLinearTime();

    void replaceAll_data();
    void replaceAll();
    void replaceAllMatchesRestartFromStart();
    void replaceAllLongInputWithFormedOccurrences();

    void stripHtml_data();
    void stripHtml();

    void anyBytesAreTaken();
};

void TestTextUtils::extractBetween_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<int>("skip");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<QByteArray>("remaining");

    QTest::newRow("found") << QByteArray("x<b>12</b>y") << QByteArray("<b>") << QByteArray("</b>")
                           << 0 << QByteArray("12") << QByteArray("</b>y");
    QTest::newRow("no start marker")
        << QByteArray("x<b>12</b>y") << QByteArray("<i>") << QByteArray("</b>") << 0 << QByteArray()
        << QByteArray("x<b>12</b>y");
    QTest::newRow("no end marker")
        << QByteArray("x<b>12 rest") << QByteArray("<b>") << QByteArray("</b>") << 0 << QByteArray()
        << QByteArray("12 rest");
    QTest::newRow("start marker ends page")
        << QByteArray("x<b>") << QByteArray("<b>") << QByteArray("</b>") << 0 << QByteArray()
        << QByteArray();
    QTest::newRow("adjacent markers")
        << QByteArray("x<b></b>y") << QByteArray("<b>") << QByteArray("</b>") << 0 << QByteArray()
        << QByteArray("</b>y");
    QTest::newRow("lower markers, upper page")
        << QByteArray("<TR><TD>Value</TD>") << QByteArray("<td>") << QByteArray("</td>") << 0
        << QByteArray("Value") << QByteArray("</TD>");
    QTest::newRow("upper markers, mixed page")
        << QByteArray("<Td>MiXeD</tD>") << QByteArray("<TD>") << QByteArray("</TD>") << 0
        << QByteArray("MiXeD") << QByteArray("</tD>");
    QTest::newRow("letters folded around accent")
        << QByteArray("CAF\xe9:1;") << QByteArray("caf\xe9:") << QByteArray(";") << 0
        << QByteArray("1") << QByteArray(";");
    QTest::newRow("latin-1 accent not folded")
        << QByteArray("caf\xe9:1;") << QByteArray("CAF\xc9:") << QByteArray(";") << 0
        << QByteArray() << QByteArray("caf\xe9:1;");
    QTest::newRow("utf-8 accent not folded")
        << QByteArray("<\xc3\xa9>1</\xc3\xa9>") << QByteArray("<\xc3\x89>")
        << QByteArray("</\xc3\xa9>") << 0 << QByteArray() << QByteArray("<\xc3\xa9>1</\xc3\xa9>");
    QTest::newRow("first occurrences count")
        << QByteArray("<b>1</b>2</b><b>3</b>") << QByteArray("<b>") << QByteArray("</b>") << 0
        << QByteArray("1") << QByteArray("</b>2</b><b>3</b>");
    QTest::newRow("start marker after partial match")
        << QByteArray("aaaab1|") << QByteArray("AAB") << QByteArray("|") << 0 << QByteArray("1")
        << QByteArray("|");
    QTest::newRow("end marker after partial match")
        << QByteArray("[x]]]>y") << QByteArray("[") << QByteArray("]]>") << 0 << QByteArray("x]")
        << QByteArray("]]>y");
    QTest::newRow("empty cursor") << QByteArray() << QByteArray("<b>") << QByteArray("</b>") << 0
                                  << QByteArray() << QByteArray();
    QTest::newRow("empty start marker") << QByteArray("a<b>c") << QByteArray() << QByteArray("<b>")
                                        << 0 << QByteArray() << QByteArray("a<b>c");
    QTest::newRow("empty end marker") << QByteArray("a<b>c") << QByteArray("<b>") << QByteArray()
                                      << 0 << QByteArray() << QByteArray("c");
    QTest::newRow("NUL bytes kept") << bytes("\0<b>x\0y</b>\0") << QByteArray("<b>")
                                    << QByteArray("</b>") << 0 << bytes("x\0y") << bytes("</b>\0");
    QTest::newRow("skip into text and end marker")
        << QByteArray("<b>x12</b>z") << QByteArray("<b>") << QByteArray("</b>") << 1
        << QByteArray("12") << QByteArray("/b>z");
    QTest::newRow("skip past end marker start")
        << QByteArray("<b>x</b>y</b>z") << QByteArray("<b>") << QByteArray("</b>") << 2
        << QByteArray("/b>y") << QByteArray("b>z");
    QTest::newRow("skip beyond text, end marker missing")
        << QByteArray("<b>x</b>") << QByteArray("<b>") << QByteArray("</b>") << 50 << QByteArray()
        << QByteArray("x</b>");
    QTest::newRow("skip, end marker missing")
        << QByteArray("<b>xyz") << QByteArray("<b>") << QByteArray("</b>") << 2 << QByteArray()
        << QByteArray("xyz");
    QTest::newRow("skip clamped at page end")
        << QByteArray("<b>xxxxx/") << QByteArray("<b>") << QByteArray("/") << 2 << QByteArray("xxx")
        << QByteArray();
    QTest::newRow("negative skip clamped at cursor start")
        << QByteArray("<b>x</b>") << QByteArray("<b>") << QByteArray("</b>") << -10
        << QByteArray("<b>x") << QByteArray("<b>x</b>");
}

void TestTextUtils::extractBetween()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    QFETCH(int, skip);
    QFETCH(QByteArray, result);
    QFETCH(QByteArray, remaining);

    PageCursor cursor(page);
    QCOMPARE(ExtractBetween(start, end, skip, cursor), result);
    QCOMPARE(cursor.remaining(), remaining);
    QCOMPARE(cursor.remainingView(), QByteArrayView(remaining));
}

void TestTextUtils::extractBetweenChainsOnEndMarker()
{
    // A count is read with two calls: lead-in to the marker in front of the
    // count, then from that marker to the one after it.
    PageCursor cursor(QByteArray("<p>Results <b>1</b> - <b>10</b> of about <b>1,230,000</b> for"));
    QCOMPARE(ExtractBetween("of about", "<b>", 0, cursor), QByteArray(" "));
    QCOMPARE(cursor.remaining(), QByteArray("<b>1,230,000</b> for"));
    QCOMPARE(ExtractBetween("<B>", "</B>", 0, cursor), QByteArray("1,230,000"));
    QCOMPARE(cursor.remaining(), QByteArray("</b> for"));

    PageCursor three(QByteArray("[1]a[2]b[3]c"));
    QCOMPARE(ExtractBetween("[1]", "[2]", 0, three), QByteArray("a"));
    QCOMPARE(ExtractBetween("[2]", "[3]", 0, three), QByteArray("b"));
    QCOMPARE(three.remaining(), QByteArray("[3]c"));
}

void TestTextUtils::extractBetweenLoopStopsAtLastMarker()
{
    PageCursor cursor(QByteArray("<tr><td>a</td><td>bb</td></tr><tr><td>c</td></tr>"));
    QByteArrayList cells;
    for (QByteArray cell; !(cell = ExtractBetween("<td>", "</td>", 0, cursor)).isEmpty();)
        cells << cell;
    QCOMPARE(cells, QByteArrayList({"a", "bb", "c"}));
    QCOMPARE(cursor.remaining(), QByteArray("</td></tr>"));
    QCOMPARE(ExtractBetween("<td>", "</td>", 0, cursor), QByteArray());
    QCOMPARE(cursor.remaining(), QByteArray("</td></tr>"));
}

void TestTextUtils::extractBetweenMatchesWholeCopyWalk()
{
    // Random pages and markers over a small alphabet, so that partial and
    // overlapping matches, case mixes and missing markers all occur.
    QRandomGenerator rng(20261211);
    for (int round = 0; round < 3000; ++round) {
        const QByteArray page = randomText(rng, "aAbB<>", 60);
        QByteArray reference = page;
        PageCursor cursor(page);
        for (int call = 0; call < 4; ++call) {
            const QByteArray start = randomText(rng, "abAB<", 3);
            const QByteArray end = randomText(rng, "aBb>", 3);
            const QByteArray expected = referenceExtract(start, end, reference);
            QCOMPARE(ExtractBetween(start, end, 0, cursor), expected);
            QCOMPARE(cursor.remaining(), reference);
        }
    }
}

void TestTextUtils::extractBetweenWalksLargePageInLinearTime()
{
    // About 20 MB walked in 110,000 calls, with near misses ("<tr") between
    // the cells. Copying or upper-casing the rest of the page on each call
    // would move some 10^12 bytes.
    const int rows = 110'000;
    const QByteArray filler = QByteArray(" <tr class=x>lorem ipsum dolor sit amet\r\n").repeated(4);
    QByteArray page;
    page.reserve(rows * (16 + filler.size()));
    for (int i = 0; i < rows; ++i)
        page += "<td>" + QByteArray::number(1'000'000 + i) + "</td>" + filler;
    QVERIFY(page.size() > 19'000'000);

    const QByteArray start("<TD>");
    const QByteArray end("</TD>");
    PageCursor cursor(page);
    QElapsedTimer timer;
    timer.start();
    int found = 0;
    QByteArray last;
    for (QByteArray cell; !(cell = ExtractBetween(start, end, 0, cursor)).isEmpty();) {
        ++found;
        last = cell;
    }
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(found, rows);
    QCOMPARE(last, QByteArray::number(1'000'000 + rows - 1));
    QCOMPARE(cursor.remaining(), "</td>" + filler);
    QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed) + " ms"));
}

void TestTextUtils::replaceAll_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("absent") << QByteArray("abc") << QByteArray("x") << QByteArray("")
                            << QByteArray("abc");
    QTest::newRow("empty pattern")
        << QByteArray("abc") << QByteArray() << QByteArray("y") << QByteArray("abc");
    QTest::newRow("empty text") << QByteArray() << QByteArray("a") << QByteArray() << QByteArray();
    QTest::newRow("every occurrence")
        << QByteArray("a<b>b<b>c<b>") << QByteArray("<b>") << QByteArray() << QByteArray("abc");
    QTest::newRow("formed by a removal")
        << QByteArray("x<<b>b>y") << QByteArray("<b>") << QByteArray() << QByteArray("xy");
    QTest::newRow("formed repeatedly")
        << QByteArray("aaabbb") << QByteArray("ab") << QByteArray() << QByteArray();
    QTest::newRow("formed with replacement")
        << QByteArray("xaab") << QByteArray("ab") << QByteArray("b") << QByteArray("xb");
    QTest::newRow("whole text") << QByteArray("&amp;") << QByteArray("&amp;") << QByteArray("&")
                                << QByteArray("&");
    QTest::newRow("one byte for another")
        << QByteArray("a\nb\n\n") << QByteArray("\n") << QByteArray(" ") << QByteArray("a b  ");
    QTest::newRow("case-sensitive") << QByteArray("<BR><br><Br>") << QByteArray("<br>")
                                    << QByteArray(" ") << QByteArray("<BR> <Br>");
    QTest::newRow("NUL pattern") << bytes("\0a\0\0b\0") << bytes("\0") << QByteArray()
                                 << QByteArray("ab");
    // Would never end; each occurrence of the given text is replaced once.
    QTest::newRow("replacement holds pattern")
        << QByteArray("aXa") << QByteArray("a") << QByteArray("aa") << QByteArray("aaXaa");
}

void TestTextUtils::replaceAll()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, replacement);
    QFETCH(QByteArray, expected);

    QCOMPARE(ReplaceAll(text, pattern, replacement), expected);
}

void TestTextUtils::replaceAllMatchesRestartFromStart()
{
    QRandomGenerator rng(42);
    for (int round = 0; round < 5000; ++round) {
        const QByteArray text = randomText(rng, "abc", 40);
        QByteArray pattern = randomText(rng, "abc", 3);
        if (pattern.isEmpty())
            pattern = "a";
        QByteArray replacement;
        if (pattern.size() == 1 && rng.bounded(2) == 0)
            replacement = pattern == "c" ? "a" : "c";
        else
            replacement = randomText(rng, "abc", static_cast<int>(pattern.size()) - 1);
        QCOMPARE(ReplaceAll(text, pattern, replacement),
                 referenceReplaceAll(text, pattern, replacement));
    }
}

void TestTextUtils::replaceAllLongInputWithFormedOccurrences()
{
    // "<<<...<b>...b>b>b>": each removal forms the next occurrence, across
    // more than a megabyte. Neither the stack nor the time may grow with the
    // square of the length.
    const int depth = 300'000;
    const QByteArray text = QByteArray(depth, '<') + "<b>" + QByteArray("b>").repeated(depth);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(ReplaceAll(text, "<b>", ""), QByteArray());
    QCOMPARE(ReplaceAll("[" + text + "]", "<b>", "<"), "[" + QByteArray(depth + 1, '<') + "]");
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed()) + " ms"));
}

void TestTextUtils::stripHtml_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("bold number") << QByteArray("<b>1,234</b>") << QByteArray("1,234");
    QTest::newRow("cell tags") << QByteArray("<td><B>42</B></td>") << QByteArray("42");
    QTest::newRow("trimmed ends") << QByteArray(" \t\r\n 42 \r\n\x01") << QByteArray("42");
    QTest::newRow("inner blanks kept") << QByteArray("a  \tb") << QByteArray("a   b");
    QTest::newRow("only tags and blanks")
        << QByteArray(" <tr> <td><b></b></td>\r\n</tr> ") << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("other characters kept") << QByteArray("1,234,567 (approx.) <x> &lt; 50%")
                                           << QByteArray("1,234,567 (approx.) <x> &lt; 50%");
    QTest::newRow("quotes removed") << QByteArray("\"golf\" \"clubs\"") << QByteArray("golf clubs");
    QTest::newRow("escaped nbsp ends as blank") << QByteArray("a&amp;nbsp;b") << QByteArray("a b");
    QTest::newRow("escaped nbsp trimmed") << QByteArray("&amp;nbsp;") << QByteArray();
    QTest::newRow("escaped apostrophe") << QByteArray("it&amp;#039;s") << QByteArray("it's");
    QTest::newRow("upper BR becomes blank") << QByteArray("x<BR>y") << QByteArray("x y");
    QTest::newRow("BR formed by removals is removed")
        << QByteArray("x<B<TD>R>y") << QByteArray("xy");
    QTest::newRow("br and br slash differ") << QByteArray("a<br>b<br />c") << QByteArray("a bc");
    QTest::newRow("paragraphs") << QByteArray("a<p>b</p><P>c</P>") << QByteArray("a b c");
    QTest::newRow("CR LF inside is two blanks") << QByteArray("a\r\nb") << QByteArray("a  b");
    QTest::newRow("phone labels") << QByteArray("Tel : 0123 Fax : 0456") << QByteArray("0123 0456");
    QTest::newRow("unlisted forms stay") << QByteArray("<font color=red>5</font><Br><b class=x>")
                                         << QByteArray("<font color=red>5<Br><b class=x>");
    QTest::newRow("high bytes not trimmed")
        << QByteArray("\xa0\xe9t\xe9\xa0") << QByteArray("\xa0\xe9t\xe9\xa0");
    QTest::newRow("NUL trimmed at ends, kept inside") << bytes("\0 a\0b \0") << bytes("a\0b");
}

void TestTextUtils::stripHtml()
{
    QFETCH(QByteArray, html);
    QFETCH(QByteArray, expected);

    QCOMPARE(StripHtml(html), expected);
}

void TestTextUtils::anyBytesAreTaken()
{
    // Random bytes of every value, invalid UTF-8 and NULs included, in one
    // long line: every routine keeps its promise on them.
    QRandomGenerator rng(7);
    QByteArray noise(4'000'000, '\0');
    for (char& c : noise)
        c = static_cast<char>(rng.bounded(256));

    const QByteArray stripped = StripHtml(noise);
    QVERIFY(!stripped.contains('"'));
    QVERIFY(!stripped.contains('\n'));
    QVERIFY(!stripped.isEmpty());
    QVERIFY(static_cast<unsigned char>(stripped.front()) > 32);
    QVERIFY(static_cast<unsigned char>(stripped.back()) > 32);

    QVERIFY(!ReplaceAll(noise, bytes("\0"), "").contains('\0'));

    PageCursor cursor(noise + bytes("<td>\xff\xfe\0</td>") + noise);
    const QByteArray marker = noise.mid(1000, 2);
    int calls = 0;
    while (!cursor.atEnd() && calls < 100'000) {
        const qsizetype before = cursor.offset();
        ExtractBetween(marker, "\xc3", 0, cursor);
        if (cursor.offset() == before)
            break;
        ++calls;
    }
    QVERIFY(calls > 0);
}

ZANTHE_TEST(TestTextUtils)
#include "tst_textutils.moc"
