#include "TestSupport.h"

#include "web/TextLines.h"

#include <QTest>

using namespace zanthe;

namespace {

template <qsizetype N> QByteArray bytes(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

} // namespace

class TestTextLines final : public QObject {
    Q_OBJECT
private slots:
    void splitTextLines_data();
    void splitTextLines();
    void toPageText_data();
    void toPageText();
    void veryLongLine();
};

void TestTextLines::splitTextLines_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArrayList>("lines");

    QTest::newRow("empty") << QByteArray() << QByteArrayList();
    QTest::newRow("no break") << QByteArray("abc") << QByteArrayList({"abc"});
    QTest::newRow("CR LF") << QByteArray("a\r\nb") << QByteArrayList({"a", "b"});
    QTest::newRow("lone CR") << QByteArray("a\rb") << QByteArrayList({"a", "b"});
    QTest::newRow("lone LF") << QByteArray("a\nb") << QByteArrayList({"a", "b"});
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QByteArrayList({"a", "", "b"});
    QTest::newRow("mixed") << QByteArray("a\r\nb\rc\nd") << QByteArrayList({"a", "b", "c", "d"});
    QTest::newRow("final break adds no line")
        << QByteArray("a\r\nb\r\n") << QByteArrayList({"a", "b"});
    QTest::newRow("final lone CR") << QByteArray("a\r") << QByteArrayList({"a"});
    QTest::newRow("empty lines kept")
        << QByteArray("\r\n\na\r\r\n") << QByteArrayList({"", "", "a", ""});
    QTest::newRow("only a break") << QByteArray("\n") << QByteArrayList({""});
    QTest::newRow("NUL ends text") << bytes("a\nb\0c\nd") << QByteArrayList({"a", "b"});
    QTest::newRow("NUL between CR and LF") << bytes("a\r\0\nb") << QByteArrayList({"a"});
    QTest::newRow("leading NUL") << bytes("\0a\nb") << QByteArrayList();
    QTest::newRow("bytes kept as they are")
        << QByteArray("\xff\xfe\t \xc3\r\n\x80") << QByteArrayList({"\xff\xfe\t \xc3", "\x80"});
}

void TestTextLines::splitTextLines()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArrayList, lines);

    QCOMPARE(zanthe::splitTextLines(text), lines);
}

void TestTextLines::toPageText_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("page");

    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("no break") << QByteArray("abc") << QByteArray("abc\r\n");
    QTest::newRow("breaks normalised")
        << QByteArray("a\nb\rc\r\nd") << QByteArray("a\r\nb\r\nc\r\nd\r\n");
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("final break") << QByteArray("a\n") << QByteArray("a\r\n");
    QTest::newRow("NUL ends text") << bytes("a\nb\0c") << QByteArray("a\r\nb\r\n");
}

void TestTextLines::toPageText()
{
    QFETCH(QByteArray, raw);
    QFETCH(QByteArray, page);

    QCOMPARE(zanthe::toPageText(raw), page);
    // Page text is already in its own form.
    QCOMPARE(zanthe::toPageText(page), page);
}

void TestTextLines::veryLongLine()
{
    const QByteArray line(20'000'000, 'x');
    const QByteArrayList lines = zanthe::splitTextLines(line + "\r\n" + line);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).size(), line.size());
    QCOMPARE(lines.at(1), line);
}

ZANTHE_TEST(TestTextLines)
#include "tst_textlines.moc"
