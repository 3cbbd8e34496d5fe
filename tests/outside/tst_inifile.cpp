#include "TestSupport.h"

#include "outside/IniFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zanthe;

class TestIniFile final : public QObject {
    Q_OBJECT
private slots:
    void lookup_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QByteArray>("value");

        QTest::newRow("plain") << QByteArray("[Settings]\nAppName=Acme\n") << QByteArray("AppName")
                               << true << QByteArray("Acme");
        QTest::newRow("names without case") << QByteArray("[SETTINGS]\nappname=Acme\n")
                                            << QByteArray("AppName") << true << QByteArray("Acme");
        QTest::newRow("blanks around names and =")
            << QByteArray("  [ Settings ]  \n\t AppName \t=   Acme Tools  \n")
            << QByteArray("AppName") << true << QByteArray("Acme Tools");
        QTest::newRow("commas stay one text")
            << QByteArray("[Settings]\nLink1Name=Cheap, fast, good\n") << QByteArray("Link1Name")
            << true << QByteArray("Cheap, fast, good");
        QTest::newRow("= inside the value")
            << QByteArray("[Settings]\nLink1URL=http://127.0.0.1/?a=1&b=2\n")
            << QByteArray("Link1URL") << true << QByteArray("http://127.0.0.1/?a=1&b=2");
        QTest::newRow("comment lines")
            << QByteArray("[Settings]\n; AppName=One\n# AppName=Two\nAppName=Three\n")
            << QByteArray("AppName") << true << QByteArray("Three");
        QTest::newRow("; later in a line is text")
            << QByteArray("[Settings]\nAppName=a ; b\n") << QByteArray("AppName") << true
            << QByteArray("a ; b");
        QTest::newRow("quotes dropped") << QByteArray("[Settings]\nAppName=\"  Acme  \"\n")
                                        << QByteArray("AppName") << true << QByteArray("  Acme  ");
        QTest::newRow("unpaired quote kept")
            << QByteArray("[Settings]\nAppName='Acme\n") << QByteArray("AppName") << true
            << QByteArray("'Acme");
        QTest::newRow("empty value is found") << QByteArray("[Settings]\nAppName=\n")
                                              << QByteArray("AppName") << true << QByteArray();
        QTest::newRow("other section") << QByteArray("[Other]\nAppName=X\n[Settings]\nK=1\n")
                                       << QByteArray("AppName") << false << QByteArray();
        QTest::newRow("before any section") << QByteArray("AppName=X\n[Settings]\n")
                                            << QByteArray("AppName") << false << QByteArray();
        QTest::newRow("first key wins") << QByteArray("[Settings]\nAppName=A\nappname=B\n")
                                        << QByteArray("AppName") << true << QByteArray("A");
        QTest::newRow("repeated section not searched")
            << QByteArray("[Settings]\nA=1\n[Other]\n[settings]\nB=2\n") << QByteArray("B") << false
            << QByteArray();
        QTest::newRow("CR LF and lone CR") << QByteArray("[Settings]\r\nA=1\rB=2\r\n")
                                           << QByteArray("B") << true << QByteArray("2");
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[Settings]\nA=1\n")
                                         << QByteArray("A") << true << QByteArray("1");
        QTest::newRow("line without =") << QByteArray("[Settings]\njust words\nA=1\n")
                                        << QByteArray("A") << true << QByteArray("1");
        QTest::newRow("8-bit bytes kept")
            << QByteArray("[Settings]\nAppName=Caf\xE9 Zanthe\n") << QByteArray("AppName") << true
            << QByteArray("Caf\xE9 Zanthe");
    }

    void lookup()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, key);
        QFETCH(bool, found);
        QFETCH(QByteArray, value);
        const IniFile ini = IniFile::parse(text);
        QCOMPARE(ini.contains("Settings", key), found);
        QCOMPARE(ini.value("Settings", key, "fallback"), found ? value : QByteArray("fallback"));
    }

    void readsFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("dbconfig.dat");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\r\nAppName=Acme\r\n");
        file.close();

        const IniReadResult read = readIniFile(path);
        QVERIFY(read.ok());
        QCOMPARE(read.ini.value("settings", "APPNAME"), QByteArray("Acme"));

        const IniReadResult missing = readIniFile(dir.filePath("none.dat"));
        QVERIFY(!missing.ok());
        QVERIFY(!missing.ini.contains("Settings", "AppName"));
    }
};

ZANTHE_TEST(TestIniFile)
#include "tst_inifile.moc"
