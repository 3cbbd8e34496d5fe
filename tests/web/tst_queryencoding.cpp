#include "TestSupport.h"

#include "web/QueryEncoding.h"

#include <QTest>

using namespace zanthe;

class TestQueryEncoding final : public QObject {
    Q_OBJECT
private slots:
    void encode_data();
    void encode();
    void everyByteDecodesBack();
};

void TestQueryEncoding::encode_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("encoded");

    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("blank") << QByteArray("golf clubs") << QByteArray("golf+clubs");
    QTest::newRow("plus and ampersand") << QByteArray("c++ & co") << QByteArray("c%2B%2B+%26+co");
    QTest::newRow("hash") << QByteArray("#") << QByteArray("%23");
    QTest::newRow("percent") << QByteArray("%") << QByteArray("%25");
    QTest::newRow("unreserved kept") << QByteArray("AZaz09~-._") << QByteArray("AZaz09~-._");
    QTest::newRow("query syntax") << QByteArray("a=1&b/c?d") << QByteArray("a%3D1%26b%2Fc%3Fd");
    QTest::newRow("NUL") << QByteArray(1, '\0') << QByteArray("%00");
    QTest::newRow("latin-1 e acute") << QByteArray("caf\xe9") << QByteArray("caf%E9");
    QTest::newRow("utf-8 e acute") << QByteArray("caf\xc3\xa9") << QByteArray("caf%C3%A9");
    QTest::newRow("controls and top byte")
        << QByteArray("\t\r\n\x7f\xff") << QByteArray("%09%0D%0A%7F%FF");
}

void TestQueryEncoding::encode()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, encoded);

    QCOMPARE(encodeQueryValue(value), encoded);
}

void TestQueryEncoding::everyByteDecodesBack()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    QByteArray encoded = encodeQueryValue(all);
    for (const char c : encoded) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           (c >= 'a' && c <= 'z') || QByteArray("-._~%+").contains(c);
        QVERIFY2(plain, QByteArray(1, c).toHex().constData());
    }
    QCOMPARE(QByteArray::fromPercentEncoding(encoded.replace('+', ' ')), all);
}

ZANTHE_TEST(TestQueryEncoding)
#include "tst_queryencoding.moc"
