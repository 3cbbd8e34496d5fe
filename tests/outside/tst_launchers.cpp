#include "ArgRecorder.h"
#include "TestSupport.h"

#include "outside/Browser.h"
#include "outside/ProgramFolder.h"
#include "outside/Updater.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace zanthe;
using zanthe::test::ArgRecorder;

namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvOverride final {
public:
    EnvOverride(const char* name, const QByteArray* value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~EnvOverride()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

class TestLaunchers final : public QObject {
    Q_OBJECT
private slots:
    void browserGetsAddressAsOneArgument_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::newRow("plain") << QByteArray("http://127.0.0.1:1/zanthehelp");
        QTest::newRow("blanks") << QByteArray("http://127.0.0.1:1/a b?q=two words");
        QTest::newRow("shell characters") << QByteArray("http://127.0.0.1:1/?a=1&b=$HOME;`x`|'y'");
        QTest::newRow("8-bit") << QByteArray("http://127.0.0.1:1/caf\xC3\xA9");
    }

    void browserGetsAddressAsOneArgument()
    {
        QFETCH(QByteArray, address);
        QTemporaryDir dir;
        const ArgRecorder browser(dir.path(), "browser");
        const QByteArray variable = browser.path().toUtf8();
        const EnvOverride env("BROWSER", &variable);

        QVERIFY(OpenInBrowser(address));
        QCOMPARE(browser.waitForArguments(), QStringList{QString::fromUtf8(address)});
    }

    void browserListTakesFirstFound()
    {
        QTemporaryDir dir;
        const ArgRecorder browser(dir.path(), "browser");
        const QByteArray variable =
            dir.filePath("missing").toUtf8() + ":no-such-browser-zz:" + browser.path().toUtf8();
        const EnvOverride env("BROWSER", &variable);
        QCOMPARE(browserLauncher(), browser.path());
        QVERIFY(OpenInBrowser("http://127.0.0.1:1/"));
        QCOMPARE(browser.waitForArguments(), QStringList{"http://127.0.0.1:1/"});
    }

    void xdgOpenWhenBrowserUnset()
    {
        QTemporaryDir dir;
        const ArgRecorder opener(dir.path(), "xdg-open");
        const QByteArray path = dir.path().toUtf8();
        const EnvOverride env("BROWSER", nullptr);
        const EnvOverride search("PATH", &path);
        QVERIFY(OpenInBrowser("http://127.0.0.1:1/x y"));
        QCOMPARE(opener.waitForArguments(), QStringList{"http://127.0.0.1:1/x y"});
    }

    void noLauncherFound_data()
    {
        QTest::addColumn<QString>("browser"); // "-" leaves BROWSER unset
        QTest::newRow("BROWSER names nothing") << "no-such-browser-zz";
        QTest::newRow("BROWSER names a missing path") << "/nonexistent/zz/browser";
        QTest::newRow("not executable") << "plain-file";
        QTest::newRow("no xdg-open on PATH") << "-";
    }

    void noLauncherFound()
    {
        QFETCH(QString, browser);
        QTemporaryDir dir;
        QFile plain(dir.filePath("plain-file"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QByteArray variable =
            browser == "plain-file" ? plain.fileName().toUtf8() : browser.toUtf8();
        const QByteArray path = dir.path().toUtf8(); // holds no xdg-open
        const EnvOverride env("BROWSER", browser == "-" ? nullptr : &variable);
        const EnvOverride search("PATH", &path);
        QCOMPARE(browserLauncher(), QString());
        QVERIFY(!OpenInBrowser("http://127.0.0.1:1/"));
    }

    void makeMoneyAddress()
    {
        QCOMPARE(zanthe::makeMoneyAddress({}), QByteArray("http://www.keywordzanthe.com/"));
        QCOMPARE(zanthe::makeMoneyAddress("abc"), QByteArray("http://www.keywordzanthe.com/abc"));
        QCOMPARE(zanthe::makeMoneyAddress("a b&c"),
                 QByteArray("http://www.keywordzanthe.com/a b&c"));
    }

    void versionWord_data()
    {
        QTest::addColumn<float>("version");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("word");
        QTest::newRow("1.0") << 1.0f << "C"
                             << "1";
        QTest::newRow("2.5") << 2.5f << "C"
                             << "2.5";
        QTest::newRow("single precision shows") << 1.1f << "C"
                                                << "1.10000002384186";
        QTest::newRow("user's separator") << 2.5f << "de_DE"
                                          << "2,5";
        QTest::newRow("no group separator") << 12345.0f << "en_US"
                                            << "12345";
    }

    void versionWord()
    {
        QFETCH(float, version);
        QFETCH(QString, locale);
        QFETCH(QString, word);
        const QLocale old;
        QLocale::setDefault(QLocale(locale));
        const QString got = zanthe::versionWord(version);
        QLocale::setDefault(old);
        QCOMPARE(got, word);
    }

    void updaterWords()
    {
        QTemporaryDir dir;
        setProgramFolder(dir.path());
        const QString path = updaterPath();
        setProgramFolder({});
        QCOMPARE(path, dir.path() + "/Updater");
        QCOMPARE(
            updaterArguments(),
            (QStringList{"http://www.keywordzanthe.com/liveupdate/keyword_zanthe/", "1", "A"}));
    }
};

ZANTHE_TEST(TestLaunchers)
#include "tst_launchers.moc"
