#include "BrandingFolder.h"
#include "TestSupport.h"

#include "app/FMain.h"
#include "app/Look.h"
#include "outside/BrandingConfig.h"

#include <QApplication>
#include <QIcon>
#include <QMovie>
#include <QSet>
#include <QTest>

using namespace zanthe;
using zanthe::test::BrandingFolder;

namespace {

QString linkOf(const LinkLabel* label)
{
    return label->text() + '|' + QString::fromLatin1(label->URL);
}

// What the banner area shows: "design" (the form's empty banner), "hidden",
// "picture:H" or "gif:H" with the picture's height.
QString bannerOf(const TfrmMain& w)
{
    if (w.panBanner->isHidden())
        return "hidden";
    if (!w.gifBanner->isHidden() && w.gifMovie && w.gifBanner->movie() == w.gifMovie) {
        if (w.panBanner->height() != w.gifBanner->height() + 10)
            return "gif with a panel of the wrong height";
        return QString("gif:%1").arg(w.gifBanner->height());
    }
    if (!w.imgBanner->isHidden() && !w.imgBanner->pixmap().isNull()) {
        if (w.panBanner->height() != w.imgBanner->pixmap().height() + 10 ||
            w.imgBanner->size() != w.imgBanner->pixmap().size())
            return "picture with the wrong size";
        return QString("picture:%1").arg(w.imgBanner->pixmap().height());
    }
    return w.panBanner->height() == 65 ? "design" : "empty banner of another height";
}

bool handCursor(const TfrmMain& w)
{
    return w.imgBanner->cursor().shape() == Qt::PointingHandCursor &&
           w.gifBanner->cursor().shape() == Qt::PointingHandCursor;
}

const QString Google = "Google|http://www.google.com/";

} // namespace

class TestBranding final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setBrandingSeed(1); }
    void cleanupTestCase() { setBrandingSeed(std::nullopt); }
    void cleanup()
    {
        applyStyleSheet(builtInStyleSheet());
        QApplication::setWindowIcon(QIcon());
    }

    void brandingFolder_data()
    {
        QTest::addColumn<bool>("hasConfig");
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("banner");
        QTest::addColumn<bool>("hand");
        QTest::addColumn<QString>("link1");
        QTest::addColumn<QString>("link2");
        QTest::addColumn<QByteArray>("affiliate");

        const QStringList none;
        QTest::newRow("no branding file")
            << false << QByteArray() << QStringList{"dbimg1.dat=png:100x60"} << "Keyword Zanthe"
            << "design" << false << Google << Google << QByteArray();
        QTest::newRow("file without keys")
            << true << QByteArray() << QStringList{"dbimg1.dat=png:100x60"}
            << "Keyword Zanthe v1.00"
            << "hidden" << false << "|"
            << "|" << QByteArray();
        QTest::newRow("60-pixel banner, one link")
            << true
            << QByteArray("AppName=Acme Research\r\nAfiliateID=abc\r\n"
                          "BannerPath1=images\\top.png\r\nBannerURL1=http://127.0.0.1:1/top\r\n"
                          "Link2URL=http://127.0.0.1:1/two\r\nLink2Name=Two, and more\r\n")
            << QStringList{"dbimg1.dat=png:200x60"} << "Acme Research v1.00"
            << "picture:60" << true << "Two, and more|http://127.0.0.1:1/two"
            << "|" << QByteArray("abc");
        QTest::newRow("BannerURL without its BannerPath")
            << true << QByteArray("BannerURL1=http://127.0.0.1:1/one\r\nBannerPath2=b.bmp\r\n")
            << QStringList{"dbimg1.dat=bmp:80x30", "dbimg2.dat=png:80x50"} << "Keyword Zanthe v1.00"
            << "picture:30" << false << "|"
            << "|" << QByteArray();
        QTest::newRow("jpg path with folders, upper case")
            << true << QByteArray("BannerPath1=C:\\art\\Top.JPG\r\n")
            << QStringList{"dbimg1.dat=jpg:50x45"} << "Keyword Zanthe v1.00"
            << "picture:45" << false << "|"
            << "|" << QByteArray();
        QTest::newRow("ico banner") << true << QByteArray("BannerPath1=logo.ico\r\n")
                                    << QStringList{"dbimg1.dat=ico:32x32"} << "Keyword Zanthe v1.00"
                                    << "picture:32" << false << "|"
                                    << "|" << QByteArray();
        QTest::newRow("GIF name in mixed case")
            << true << QByteArray("BannerPath1=images\\Top.GiF\r\n")
            << QStringList{"dbimg1.dat=gif"} << "Keyword Zanthe v1.00"
            << "gif:10" << false << "|"
            << "|" << QByteArray();
        QTest::newRow("a.gif.bmp goes to the animation")
            << true << QByteArray("BannerPath1=a.gif.bmp\r\nBannerURL1=http://127.0.0.1:1/g\r\n")
            << QStringList{"dbimg1.dat=gif"} << "Keyword Zanthe v1.00"
            << "gif:10" << true << "|"
            << "|" << QByteArray();
        QTest::newRow("working name already taken")
            << true << QByteArray("BannerPath1=top.png\r\n")
            << QStringList{"dbimg1.dat=png:90x60", "top.png=png:90x20"} << "Keyword Zanthe v1.00"
            << "picture:60" << false << "|"
            << "|" << QByteArray();
        QTest::newRow("corrupt picture, links still set")
            << true
            << QByteArray(
                   "BannerPath1=x.png\r\nLink1URL=http://127.0.0.1:1/l1\r\nLink1Name=One\r\n")
            << QStringList{"dbimg1.dat=garbage"} << "Keyword Zanthe v1.00"
            << "hidden" << false << "One|http://127.0.0.1:1/l1"
            << "|" << QByteArray();
        QTest::newRow("GIF name over other picture data")
            << true << QByteArray("BannerPath1=x.gif\r\n") << QStringList{"dbimg1.dat=png:40x20"}
            << "Keyword Zanthe v1.00"
            << "hidden" << false << "|"
            << "|" << QByteArray();
        QTest::newRow("metafile cannot be read")
            << true << QByteArray("BannerPath1=x.wmf\r\n") << QStringList{"dbimg1.dat=png:40x20"}
            << "Keyword Zanthe v1.00"
            << "hidden" << false << "|"
            << "|" << QByteArray();
        QTest::newRow("stored picture missing, address kept")
            << true << QByteArray("BannerPath1=x.png\r\nBannerURL1=http://127.0.0.1:1/x\r\n")
            << none << "Keyword Zanthe v1.00"
            << "hidden" << true << "|"
            << "|" << QByteArray();
        QTest::newRow("link URL without Name, Name without URL")
            << true << QByteArray("Link1Name=orphan\r\nLink3URL=http://127.0.0.1:1/l3\r\n") << none
            << "Keyword Zanthe v1.00"
            << "hidden" << false << "|http://127.0.0.1:1/l3"
            << "|" << QByteArray();
        QTest::newRow("names in other case, comments, blanks, empty AppName")
            << true
            << QByteArray("; made by hand\r\n# AppName=Commented\r\nappname = \r\n"
                          "  AFILIATEID  =  id-7 \r\n")
            << none << "Keyword Zanthe v1.00"
            << "hidden" << false << "|"
            << "|" << QByteArray("id-7");
    }

    void brandingFolder()
    {
        QFETCH(bool, hasConfig);
        QFETCH(QByteArray, keys);
        QFETCH(QStringList, files);
        QFETCH(QString, caption);
        QFETCH(QString, banner);
        QFETCH(bool, hand);
        QFETCH(QString, link1);
        QFETCH(QString, link2);
        QFETCH(QByteArray, affiliate);

        BrandingFolder folder;
        if (hasConfig)
            folder.writeConfig(keys);
        for (const QString& entry : files)
            writeBrandingFile(folder, entry);
        const auto before = folder.snapshot();
        {
            TfrmMain w;
            QCOMPARE(w.windowTitle(), caption);
            QCOMPARE(bannerOf(w), banner);
            QCOMPARE(handCursor(w), hand);
            QCOMPARE(linkOf(w.lblLink1URL), link1);
            QCOMPARE(linkOf(w.lblLink2URL), link2);
            QCOMPARE(w.AffiliateId, affiliate);
            QCOMPARE(w.Link1Url, hasConfig ? link1.section('|', 1).toLatin1() : QByteArray());
            QCOMPARE(w.Link1Name, hasConfig ? link1.section('|', 0, 0).toLatin1() : QByteArray());
            if (banner.startsWith("gif")) {
                QCOMPARE(w.gifMovie->state(), QMovie::Running);
                QCOMPARE(w.gifMovie->frameCount(), 2);
            }
            QCOMPARE(folder.snapshot(), before); // nothing renamed or written meanwhile
        }
        QCOMPARE(folder.snapshot(), before);
    }

    // BannerPath1 unset: the BannerPath2 entry is candidate 1 and reads
    // dbimg1.dat, the BannerPath3 entry reads dbimg2.dat, dbimg3.dat never.
    void candidatePositionPicksStoredPicture()
    {
        BrandingFolder folder;
        folder.writeConfig("BannerPath2=two.png\r\nBannerURL2=http://127.0.0.1:1/2\r\n"
                           "BannerPath3=three.png\r\n");
        writeBrandingFile(folder, "dbimg1.dat=png:60x30");
        writeBrandingFile(folder, "dbimg2.dat=png:60x50");
        writeBrandingFile(folder, "dbimg3.dat=png:60x70");
        const QMap<QByteArray, QString> expected{{"two.png", "picture:30"},
                                                 {"three.png", "picture:50"}};
        QSet<QByteArray> seen;
        for (quint32 seed = 0; seed < 12; ++seed) {
            setBrandingSeed(seed);
            TfrmMain w;
            QVERIFY(expected.contains(w.BannerImagePath));
            QCOMPARE(bannerOf(w), expected.value(w.BannerImagePath));
            QCOMPARE(w.BannerUrl,
                     w.BannerImagePath == "two.png" ? QByteArray("http://127.0.0.1:1/2") : "");
            QCOMPARE(handCursor(w), !w.BannerUrl.isEmpty());
            seen << w.BannerImagePath;
        }
        setBrandingSeed(1);
        QCOMPARE(seen.size(), 2);
    }

    void linkLabelsShowTwoDifferentCandidates_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("two") << 2;
        QTest::newRow("four") << 4;
    }

    void linkLabelsShowTwoDifferentCandidates()
    {
        QFETCH(int, count);
        BrandingFolder folder;
        QByteArray keys;
        QSet<QString> candidates;
        for (int i = 1; i <= count; ++i) {
            const QByteArray n = QByteArray::number(i);
            keys += "Link" + n + "URL=http://127.0.0.1:1/" + n + "\r\nLink" + n + "Name=Site " + n +
                    "\r\n";
            candidates << QString("Site %1|http://127.0.0.1:1/%1").arg(i);
        }
        folder.writeConfig(keys);
        QSet<QString> shown;
        for (quint32 seed = 0; seed < 12; ++seed) {
            setBrandingSeed(seed);
            TfrmMain w;
            const QString left = linkOf(w.lblLink1URL);
            const QString right = linkOf(w.lblLink2URL);
            QVERIFY2(candidates.contains(left) && candidates.contains(right), qPrintable(left));
            QVERIFY(left != right);
            QCOMPARE(left, QString("%1|%2").arg(QString(w.Link1Name), QString(w.Link1Url)));
            QCOMPARE(right, QString("%1|%2").arg(QString(w.Link2Name), QString(w.Link2Url)));
            shown << left << right;
        }
        setBrandingSeed(1);
        QCOMPARE(shown, candidates);
    }

    void skin_data()
    {
        QTest::addColumn<bool>("hasConfig");
        QTest::addColumn<QByteArray>("skin");
        QTest::addColumn<bool>("applied");
        const QByteArray sheet = "QFrame#bsSkinPanel4 { background: rgb(200, 30, 20); }";
        QTest::newRow("plain") << true << sheet << true;
        QTest::newRow("compressed") << true << qCompress(sheet) << true;
        QTest::newRow("unreadable") << true << QByteArray("\xff\xfe\0\x01garbage", 11) << false;
        QTest::newRow("no branding file") << false << sheet << false;
    }

    void skin()
    {
        QFETCH(bool, hasConfig);
        QFETCH(QByteArray, skin);
        QFETCH(bool, applied);
        BrandingFolder folder;
        if (hasConfig)
            folder.writeConfig({});
        folder.write("dbskin.dat", skin);
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(qApp->styleSheet() == builtInStyleSheet(), !applied);
        const QColor panel = w.bsSkinPanel4->grab().toImage().pixelColor(20, 6);
        QCOMPARE(panel == QColor(200, 30, 20), applied);
    }

    // The labels take the size of their text as the skin draws it.
    void linkLabelsFitSkinnedText()
    {
        BrandingFolder folder;
        folder.writeConfig("Link1URL=http://127.0.0.1:1/a\r\nLink1Name=A rather long caption\r\n"
                           "Link2URL=http://127.0.0.1:1/b\r\nLink2Name=Another long caption\r\n");
        folder.write("dbskin.dat", "QLabel[link=\"true\"] { font-size: 15pt; }");
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (const LinkLabel* label : {w.lblLink1URL, w.lblLink2URL})
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }

    void icon_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("applied");
        QTest::newRow("path with folders") << QByteArray("IconPath=C:\\icons\\app.ico\r\n")
                                           << QStringList{"app.ico=ico:32x32"} << true;
        QTest::newRow("file missing")
            << QByteArray("IconPath=app.ico\r\n") << QStringList{"other.ico=ico:32x32"} << false;
        QTest::newRow("not an icon")
            << QByteArray("IconPath=app.ico\r\n") << QStringList{"app.ico=garbage"} << false;
        QTest::newRow("no IconPath") << QByteArray() << QStringList{"app.ico=ico:32x32"} << false;
    }

    void icon()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QStringList, files);
        QFETCH(bool, applied);
        BrandingFolder folder;
        folder.writeConfig(keys);
        for (const QString& entry : files)
            writeBrandingFile(folder, entry);
        TfrmMain w;
        QCOMPARE(w.AppIconPath, keys.mid(keys.indexOf('=') + 1).trimmed());
        QCOMPARE(QApplication::windowIcon().isNull(), !applied);
        if (applied)
            QVERIFY(QApplication::windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    // A picture that fails to load stops nothing that comes after it.
    void stepsAfterAFailedPictureStillRun()
    {
        BrandingFolder folder;
        folder.writeConfig("AppName=After\r\nBannerPath1=x.jpg\r\nLink1URL=http://127.0.0.1:1/a\r\n"
                           "Link1Name=A\r\nIconPath=app.ico\r\n");
        writeBrandingFile(folder, "dbimg1.dat=garbage");
        writeBrandingFile(folder, "app.ico=ico:16x16");
        const QString sheet = "QWidget#frmMain { background: rgb(1, 2, 3); }";
        folder.write("dbskin.dat", sheet.toLatin1());
        TfrmMain w;
        QCOMPARE(w.windowTitle(), QString("After v1.00"));
        QVERIFY(w.panBanner->isHidden());
        QCOMPARE(linkOf(w.lblLink1URL), QString("A|http://127.0.0.1:1/a"));
        QCOMPARE(qApp->styleSheet(), sheet);
        QVERIFY(!QApplication::windowIcon().isNull());
    }
};

ZANTHE_TEST(TestBranding)
#include "tst_branding.moc"
