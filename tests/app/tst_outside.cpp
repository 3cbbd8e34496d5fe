#include "ArgRecorder.h"
#include "BrandingFolder.h"
#include "ModalScript.h"
#include "TestSupport.h"

#include "app/FMain.h"
#include "app/MessageBox.h"
#include "outside/BrandingConfig.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using namespace zanthe;
using zanthe::test::ArgRecorder;
using zanthe::test::BrandingFolder;
using zanthe::test::MessageAnswerer;

namespace {

// Receives what the desktop's URL handler is asked to open.
class UrlCatcher final : public QObject {
    Q_OBJECT
public:
    UrlCatcher()
    {
        QDesktopServices::setUrlHandler("http", this, "open");
        QDesktopServices::setUrlHandler("https", this, "open");
    }
    ~UrlCatcher() override
    {
        QDesktopServices::unsetUrlHandler("http");
        QDesktopServices::unsetUrlHandler("https");
    }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

const QString UpdateWarning =
    "The updater module is missing. Please reinstall again the current version!";
const QString UpdateQuestion = "To update your software the application will close to\n\r"
                               "replace some files. Do you want to update now?";

} // namespace

class TestOutside final : public QObject {
    Q_OBJECT
    QTemporaryDir m_tools; // the stand-in browser lives outside the program folder
    ArgRecorder m_browser{m_tools.path(), "browser"};
    QByteArray m_oldBrowser;

private slots:
    void initTestCase()
    {
        m_oldBrowser = qgetenv("BROWSER");
        qputenv("BROWSER", m_browser.path().toUtf8());
        setBrandingSeed(1);
    }
    void cleanupTestCase()
    {
        qputenv("BROWSER", m_oldBrowser);
        setBrandingSeed(std::nullopt);
    }
    void init() { m_browser.reset(); }

    void helpOpensHelpPage_data()
    {
        QTest::addColumn<bool>("branded");
        QTest::newRow("without branding") << false;
        QTest::newRow("with branding") << true;
    }

    void helpOpensHelpPage()
    {
        QFETCH(bool, branded);
        BrandingFolder folder;
        if (branded)
            folder.writeConfig("AppName=Acme\r\nAfiliateID=abc\r\n");
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.btnHelp, Qt::LeftButton);
        QCOMPARE(m_browser.waitForArguments(),
                 QStringList{"http://www.keywordzanthe.com/zanthehelp"});
    }

    void makeMoney_data()
    {
        QTest::addColumn<bool>("branded");
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("address");
        QTest::newRow("no branding file")
            << false << QByteArray() << "http://www.keywordzanthe.com/";
        QTest::newRow("empty id") << true << QByteArray("AfiliateID=\r\n")
                                  << "http://www.keywordzanthe.com/";
        QTest::newRow("id appended as is")
            << true << QByteArray("AfiliateID=abc\r\n") << "http://www.keywordzanthe.com/abc";
        QTest::newRow("id with blank and &")
            << true << QByteArray("AfiliateID=a b&c\r\n") << "http://www.keywordzanthe.com/a b&c";
    }

    void makeMoney()
    {
        QFETCH(bool, branded);
        QFETCH(QByteArray, keys);
        QFETCH(QString, address);
        BrandingFolder folder;
        if (branded)
            folder.writeConfig(keys);
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.btnMakeMoney, Qt::LeftButton);
        QCOMPARE(m_browser.waitForArguments(), QStringList{address});
    }

    void bannerClick_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("address"); // empty: nothing may start
        QTest::newRow("picture with address")
            << QByteArray("BannerPath1=top.png\r\nBannerURL1=http://127.0.0.1:1/offer\r\n")
            << "png:120x40"
            << "http://127.0.0.1:1/offer";
        QTest::newRow("address with blanks is one argument")
            << QByteArray(
                   "BannerPath1=top.png\r\nBannerURL1=http://127.0.0.1:1/big offer?a=1 2\r\n")
            << "png:120x40"
            << "http://127.0.0.1:1/big offer?a=1 2";
        QTest::newRow("gif with address")
            << QByteArray("BannerPath1=top.gif\r\nBannerURL1=http://127.0.0.1:1/moving\r\n")
            << "gif"
            << "http://127.0.0.1:1/moving";
        QTest::newRow("picture without address")
            << QByteArray("BannerPath1=top.png\r\n") << "png:120x40" << QString();
        QTest::newRow("gif without address")
            << QByteArray("BannerPath1=top.gif\r\n") << "gif" << QString();
    }

    void bannerClick()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QString, picture);
        QFETCH(QString, address);
        BrandingFolder folder;
        folder.writeConfig(keys);
        writeBrandingFile(folder, "dbimg1.dat=" + picture);
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ClickLabel* banner = picture == "gif" ? w.gifBanner : w.imgBanner;
        QVERIFY(banner->isVisible());
        QTest::mouseClick(banner, Qt::LeftButton);
        if (address.isEmpty())
            QVERIFY(m_browser.staysUncalled());
        else
            QCOMPARE(m_browser.waitForArguments(), QStringList{address});
    }

    void linkLabelsOpenTheirOwnAddress_data()
    {
        QTest::addColumn<bool>("branded");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right"); // empty: a click opens nothing
        QTest::newRow("form's default") << false << "http://www.google.com/"
                                        << "http://www.google.com/";
        QTest::newRow("one link from branding")
            << true << "http://127.0.0.1:1/partner" << QString();
    }

    void linkLabelsOpenTheirOwnAddress()
    {
        QFETCH(bool, branded);
        QFETCH(QString, left);
        QFETCH(QString, right);
        BrandingFolder folder;
        if (branded)
            folder.writeConfig("Link3URL=http://127.0.0.1:1/partner\r\nLink3Name=Partner\r\n");
        UrlCatcher catcher;
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.lblLink1URL, Qt::LeftButton);
        QTest::mouseClick(w.lblLink2URL, Qt::LeftButton);
        QList<QUrl> expected{QUrl(left)};
        if (!right.isEmpty())
            expected << QUrl(right);
        QCOMPARE(catcher.opened, expected);
        QVERIFY(m_browser.staysUncalled(0)); // the labels do not use the launcher
    }

    void updaterMissing_data()
    {
        QTest::addColumn<bool>("folderNamedUpdater");
        QTest::newRow("nothing there") << false;
        QTest::newRow("a folder of that name") << true;
    }

    void updaterMissing()
    {
        QFETCH(bool, folderNamedUpdater);
        BrandingFolder folder;
        if (folderNamedUpdater)
            QVERIFY(QDir(folder.path()).mkdir("Updater"));
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MessageAnswerer answers{true};
        QTest::mouseClick(w.btnUpdate, Qt::LeftButton);
        QCOMPARE(w.msgMain->history().size(), 1);
        const SkinMessage::Shown shown = w.msgMain->history().at(0);
        QCOMPARE(shown.text, UpdateWarning);
        QCOMPARE(shown.kind, SkinMessage::Kind::Warning);
        QCOMPARE(shown.buttons, SkinMessage::Buttons::Ok);
        QCOMPARE(answers.texts, QStringList{UpdateWarning});
        QVERIFY(w.isVisible());
    }

    void updateHandOff_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Cancel") << false;
        QTest::newRow("OK") << true;
    }

    void updateHandOff()
    {
        QFETCH(bool, ok);
        BrandingFolder folder;
        const ArgRecorder updater(folder.path(), "Updater");
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MessageAnswerer answers{ok};
        QTest::mouseClick(w.btnUpdate, Qt::LeftButton);

        QCOMPARE(w.msgMain->history().size(), 1);
        const SkinMessage::Shown shown = w.msgMain->history().at(0);
        QCOMPARE(shown.text, UpdateQuestion);
        QCOMPARE(shown.kind, SkinMessage::Kind::Information);
        QCOMPARE(shown.buttons, SkinMessage::Buttons::OkCancel);
        QCOMPARE(shown.result, ok ? SkinMessage::ResultOk : SkinMessage::ResultCancel);
        if (ok) {
            QCOMPARE(
                updater.waitForArguments(),
                (QStringList{"http://www.keywordzanthe.com/liveupdate/keyword_zanthe/", "1", "A"}));
            QVERIFY(!w.isVisible());
        } else {
            QVERIFY(updater.staysUncalled());
            QVERIFY(w.isVisible());
        }
    }

    // The window closes even when the updater cannot be started.
    void updaterThatCannotStart()
    {
        BrandingFolder folder;
        folder.write("Updater", "not a program");
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MessageAnswerer answers{true};
        QTest::mouseClick(w.btnUpdate, Qt::LeftButton);
        QCOMPARE(answers.texts, QStringList{UpdateQuestion});
        QVERIFY(!w.isVisible());
    }
};

ZANTHE_TEST(TestOutside)
#include "tst_outside.moc"
