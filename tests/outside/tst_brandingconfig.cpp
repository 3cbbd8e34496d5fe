#include "TestSupport.h"

#include "outside/BrandingConfig.h"

#include <QSet>
#include <QTest>

using namespace zanthe;

namespace {

BrandingSettings settingsOf(const QByteArray& keys)
{
    return readBrandingSettings(IniFile::parse("[Settings]\n" + keys));
}

QStringList bannerList(const BrandingSettings& s)
{
    QStringList out;
    for (const BannerCandidate& b : s.banners)
        out << QString::fromLatin1(b.path + '|' + b.url);
    return out;
}

QStringList linkList(const BrandingSettings& s)
{
    QStringList out;
    for (const LinkCandidate& l : s.links)
        out << QString::fromLatin1(l.url + '|' + l.name);
    return out;
}

const QByteArray ThreeBannersFourLinks = "BannerPath1=a.png\nBannerURL1=http://127.0.0.1/a\n"
                                         "BannerPath2=b.png\nBannerURL2=http://127.0.0.1/b\n"
                                         "BannerPath3=c.png\n"
                                         "Link1URL=u1\nLink1Name=n1\nLink2URL=u2\nLink2Name=n2\n"
                                         "Link3URL=u3\nLink3Name=n3\nLink4URL=u4\n";

} // namespace

class TestBrandingConfig final : public QObject {
    Q_OBJECT
private slots:
    void readsSettings_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QStringList>("banners");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QByteArray>("affiliate");

        QTest::newRow("no keys") << QByteArray() << QStringList() << QStringList() << QByteArray();
        QTest::newRow("banner gap closes, orphan URL ignored")
            << QByteArray("BannerURL1=http://127.0.0.1/one\nBannerPath2=images\\two.png\n"
                          "BannerURL2=http://127.0.0.1/two\nBannerPath3=three.gif\n")
            << QStringList{"images\\two.png|http://127.0.0.1/two", "three.gif|"} << QStringList()
            << QByteArray();
        QTest::newRow("link gaps, URL without Name, Name without URL")
            << QByteArray("Link1Name=orphan\nLink2URL=u2\nLink3URL=u3\nLink3Name=n3\n"
                          "Link4URL=u4\nLink4Name=n4\n")
            << QStringList() << QStringList{"u2|", "u3|n3", "u4|n4"} << QByteArray();
        QTest::newRow("affiliate key spelt AfiliateID")
            << QByteArray("AfiliateID=abc\n") << QStringList() << QStringList()
            << QByteArray("abc");
        QTest::newRow("AffiliateID is another key")
            << QByteArray("AffiliateID=abc\n") << QStringList() << QStringList() << QByteArray();
        QTest::newRow("only numbers 1-3 and 1-4")
            << QByteArray("BannerPath4=d.png\nBannerPath0=z.png\nLink5URL=u5\nLink0URL=u0\n")
            << QStringList() << QStringList() << QByteArray();
    }

    void readsSettings()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QStringList, banners);
        QFETCH(QStringList, links);
        QFETCH(QByteArray, affiliate);
        const BrandingSettings s = settingsOf(keys);
        QCOMPARE(bannerList(s), banners);
        QCOMPARE(linkList(s), links);
        QCOMPARE(s.affiliateId, affiliate);
    }

    // Over a fixed range of seeds every candidate gets picked, the pairs stay
    // together and the two links always differ.
    void drawsCoverEveryCandidate()
    {
        const BrandingSettings s = settingsOf(ThreeBannersFourLinks);
        QSet<int> banners;
        QSet<QByteArray> firstLinks;
        QSet<QByteArray> secondLinks;
        for (quint32 seed = 0; seed < 200; ++seed) {
            BrandingRandom random(seed);
            const BrandingChoice c = chooseBranding(s, random);
            QVERIFY(c.banner >= 0 && c.banner < 3);
            QCOMPARE(c.bannerImagePath, s.banners.at(c.banner).path);
            QCOMPARE(c.bannerUrl, s.banners.at(c.banner).url);
            QVERIFY2(c.link1Url != c.link2Url, qPrintable(QString::number(seed)));
            for (const auto& [url, name] :
                 {std::pair{c.link1Url, c.link1Name}, std::pair{c.link2Url, c.link2Name}}) {
                const auto it = std::find_if(s.links.begin(), s.links.end(),
                                             [&](const LinkCandidate& l) { return l.url == url; });
                QVERIFY(it != s.links.end());
                QCOMPARE(name, it->name);
            }
            banners << c.banner;
            firstLinks << c.link1Url;
            secondLinks << c.link2Url;
        }
        QCOMPARE(banners, (QSet<int>{0, 1, 2}));
        const QSet<QByteArray> all{"u1", "u2", "u3", "u4"};
        QCOMPARE(firstLinks, all);
        QCOMPARE(secondLinks, all);
    }

    void sameSeedSameChoice()
    {
        const BrandingSettings s = settingsOf(ThreeBannersFourLinks);
        BrandingRandom a(42);
        BrandingRandom b(42);
        const BrandingChoice x = chooseBranding(s, a);
        const BrandingChoice y = chooseBranding(s, b);
        QCOMPARE(x.banner, y.banner);
        QCOMPARE(x.link1Url, y.link1Url);
        QCOMPARE(x.link2Url, y.link2Url);
    }

    void fewCandidates()
    {
        BrandingRandom random(7);
        const BrandingChoice none = chooseBranding(settingsOf({}), random);
        QCOMPARE(none.banner, -1);
        QVERIFY(none.bannerImagePath.isEmpty() && none.link1Url.isEmpty() &&
                none.link2Url.isEmpty());

        const BrandingChoice one = chooseBranding(settingsOf("Link3URL=u3\n"), random);
        QCOMPARE(one.link1Url, QByteArray("u3"));
        QVERIFY(one.link2Url.isEmpty());
        QVERIFY(one.link2Name.isEmpty());

        // Two candidates: both shown, in either order.
        const BrandingSettings two = settingsOf("Link1URL=u1\nLink2URL=u2\nLink2Name=n2\n");
        QSet<QByteArray> orders;
        for (quint32 seed = 0; seed < 50; ++seed) {
            BrandingRandom r(seed);
            const BrandingChoice c = chooseBranding(two, r);
            QCOMPARE((QSet<QByteArray>{c.link1Url, c.link2Url}), (QSet<QByteArray>{"u1", "u2"}));
            orders << c.link1Url + c.link2Url;
        }
        QCOMPARE(orders.size(), 2);
    }

    void pictureFormat_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("format");
        const int still = int(PictureKind::Still);
        const int gif = int(PictureKind::Animated);
        const int none = int(PictureKind::Unreadable);
        QTest::newRow("bmp") << QByteArray("top.bmp") << still << QByteArray("bmp");
        QTest::newRow("BMP upper case") << QByteArray("TOP.BMP") << still << QByteArray("bmp");
        QTest::newRow("ico") << QByteArray("x.Ico") << still << QByteArray("ico");
        QTest::newRow("jpg") << QByteArray("x.JPG") << still << QByteArray("jpeg");
        QTest::newRow("jpeg") << QByteArray("x.jpeg") << still << QByteArray("jpeg");
        QTest::newRow("png") << QByteArray("C:\\art\\x.png") << still << QByteArray("png");
        QTest::newRow("GIF in a folder")
            << QByteArray("images\\Top.GIF") << gif << QByteArray("gif");
        QTest::newRow(".gif inside the name")
            << QByteArray("a.gif.bmp") << gif << QByteArray("gif");
        QTest::newRow(".gif only in the folder")
            << QByteArray("my.gifs\\top.bmp") << still << QByteArray("bmp");
        QTest::newRow("wmf") << QByteArray("x.wmf") << none << QByteArray();
        QTest::newRow("emf") << QByteArray("x.EMF") << none << QByteArray();
        QTest::newRow("no extension") << QByteArray("banner") << none << QByteArray();
        QTest::newRow("folder only") << QByteArray("images\\") << none << QByteArray();
    }

    void pictureFormat()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, kind);
        QFETCH(QByteArray, format);
        const PictureFormat f = bannerPictureFormat(path);
        QCOMPARE(int(f.kind), kind);
        QCOMPARE(f.format, format);
    }

    void fileNamePart_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("backslashes") << QByteArray("images\\sub\\Top.GIF") << QByteArray("Top.GIF");
        QTest::newRow("slashes") << QByteArray("images/top.png") << QByteArray("top.png");
        QTest::newRow("drive") << QByteArray("C:app.ico") << QByteArray("app.ico");
        QTest::newRow("bare") << QByteArray("app.ico") << QByteArray("app.ico");
        QTest::newRow("folder") << QByteArray("icons\\") << QByteArray();
    }

    void fileNamePart()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, name);
        QCOMPARE(zanthe::fileNamePart(path), name);
    }

    void caption()
    {
        QCOMPARE(brandedCaption("Keyword Zanthe", {}), QString("Keyword Zanthe v1.00"));
        QCOMPARE(brandedCaption("Keyword Zanthe", "Acme Research"), QString("Acme Research v1.00"));
        QCOMPARE(brandedCaption("Keyword Zanthe", "Caf\xE9"), QString::fromUtf8("Café v1.00"));
    }

    void skin_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("sheet"); // empty: cannot be read
        const QByteArray sheet = "QWidget#frmMain { background: #202830; }\n"
                                 "QPushButton { color: white; }\n";
        QTest::newRow("plain") << sheet << QString::fromLatin1(sheet);
        QTest::newRow("compressed") << qCompress(sheet) << QString::fromLatin1(sheet);
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + sheet << QString::fromLatin1(sheet);
        QTest::newRow("braces in comment and string")
            << QByteArray("/* { */ QLabel { qproperty-text: \"}\"; }")
            << QString("/* { */ QLabel { qproperty-text: \"}\"; }");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("blank") << QByteArray(" \r\n\t") << QString();
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QString();
        QTest::newRow("damaged compressed") << qCompress(sheet).left(20) << QString();
        QTest::newRow("unbalanced") << QByteArray("QWidget { color: red;") << QString();
        QTest::newRow("stray closing") << QByteArray("QWidget } color: red; {") << QString();
    }

    void skin()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, sheet);
        const SkinReadResult read = decodeSkin(bytes);
        QCOMPARE(read.ok(), !sheet.isEmpty());
        QCOMPARE(read.styleSheet, sheet);
    }
};

ZANTHE_TEST(TestBrandingConfig)
#include "tst_brandingconfig.moc"
