#include "TestSupport.h"

#include "table/KeywordFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zanthe;

class TestKeywordFile final : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("lines");
        const QByteArrayList three{"golf", "soccer", "golf clubs"};
        QTest::newRow("CR LF") << QByteArray("golf\r\nsoccer\r\ngolf clubs\r\n") << three;
        QTest::newRow("LF only") << QByteArray("golf\nsoccer\ngolf clubs\n") << three;
        QTest::newRow("CR only") << QByteArray("golf\rsoccer\rgolf clubs\r") << three;
        QTest::newRow("no final break") << QByteArray("golf\r\nsoccer\ngolf clubs") << three;
        QTest::newRow("blank line")
            << QByteArray("golf\r\n\r\nsoccer\r\n") << QByteArrayList{"golf", "", "soccer"};
        QTest::newRow("NUL ends the text") << QByteArray("golf\r\nsoc") + '\0' + "cer\r\nx\r\n"
                                           << QByteArrayList{"golf", "soc"};
        QTest::newRow("nothing trimmed or split")
            << QByteArray("  golf, soccer \t\r\n\xef\xbb\xbf\"x\"\r\n")
            << QByteArrayList{"  golf, soccer \t", "\xef\xbb\xbf\"x\""};
        QTest::newRow("byte-order mark kept")
            << QByteArray("\xef\xbb\xbfgolf\n") << QByteArrayList{"\xef\xbb\xbfgolf"};
        QTest::newRow("empty file") << QByteArray() << QByteArrayList{};
        QTest::newRow("one line break") << QByteArray("\r\n") << QByteArrayList{""};
    }

    void lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, lines);
        const QString path = writeFile(QTest::currentDataTag() + QString(".txt"), bytes);
        QVERIFY(keywordFileExists(path));
        const KeywordFileRead read = readKeywordFile(path);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.lines, lines);
    }

    void existence()
    {
        QVERIFY(keywordFileExists(writeFile("any name.dat", "golf")));
        QVERIFY(!keywordFileExists(m_dir.path())); // a folder is no file
        QVERIFY(!keywordFileExists(m_dir.filePath("missing.txt")));
        QVERIFY(!keywordFileExists(QString()));
    }

    void readFailures()
    {
        const KeywordFileRead missing = readKeywordFile(m_dir.filePath("missing.txt"));
        QVERIFY(!missing.ok);
        QVERIFY(!missing.error.isEmpty());
        QVERIFY(missing.lines.isEmpty());

        const KeywordFileRead folder = readKeywordFile(m_dir.path());
        QVERIFY(!folder.ok);
        QVERIFY(!folder.error.isEmpty());

        // A file that opens but fails while being read: Linux refuses reads
        // of the unmapped first page of a process's own memory.
        if (!QFile::exists("/proc/self/mem"))
            QSKIP("no /proc/self/mem here");
        const KeywordFileRead broken = readKeywordFile("/proc/self/mem");
        QVERIFY(!broken.ok);
        QVERIFY(!broken.error.isEmpty());
        QVERIFY(broken.lines.isEmpty());
    }

    void numbering()
    {
        const std::vector<KeywordRow> rows =
            keywordRowsFromLines({"golf", "soccer", "golf clubs"}, 11);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[0].caption, QByteArray("11"));
        QCOMPARE(rows[2].caption, QByteArray("13"));
        QCOMPARE(rows[2].texts[0], QByteArray("golf clubs"));
        for (const KeywordRow& r : rows) {
            QVERIFY(!r.checked);
            for (size_t t = 1; t < r.texts.size(); ++t)
                QVERIFY(r.texts[t].isEmpty());
        }
    }
};

ZANTHE_TEST(TestKeywordFile)
#include "tst_keywordfile.moc"
