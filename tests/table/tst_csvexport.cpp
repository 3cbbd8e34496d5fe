#include "TestSupport.h"

#include "table/CsvExport.h"
#include "table/KeywordTableModel.h"
#include "table/Sorting.h"

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace zanthe;

namespace {

const QByteArray Header = "\"No\",\"Keywords\",\"Searches\",\"Google\",\"Yahoo\",\"Msn\"\r\n";

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// A device that takes only so many bytes and then writes short, as a full
// disk does.
class ShortDevice final : public QIODevice {
public:
    explicit ShortDevice(qint64 room)
        : m_room(room)
    {
        open(WriteOnly);
    }
    QByteArray taken;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override
    {
        const qint64 n = qMin(len, m_room - taken.size());
        taken.append(data, n);
        return n;
    }

private:
    qint64 m_room;
};

} // namespace

class TestCsvExport final : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void lineFormat_data()
    {
        QTest::addColumn<QByteArrayList>("fields");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("counts stay one field")
            << QByteArrayList{"1", "golf clubs", "1,234", "", "", ""}
            << QByteArray("\"1\",\"golf clubs\",\"1,234\",\"\",\"\",\"\"\r\n");
        QTest::newRow("quotes doubled")
            << QByteArrayList{"say \"hi\"", "\""} << QByteArray("\"say \"\"hi\"\"\",\"\"\"\"\r\n");
        QTest::newRow("bytes as held")
            << QByteArrayList{"caf\xe9", "a\r\nb"} << QByteArray("\"caf\xe9\",\"a\r\nb\"\r\n");
        QTest::newRow("one field") << QByteArrayList{"x"} << QByteArray("\"x\"\r\n");
    }

    void lineFormat()
    {
        QFETCH(QByteArrayList, fields);
        QFETCH(QByteArray, line);
        QCOMPARE(csvLine(fields), line);
    }

    void wholeFileInDisplayOrder()
    {
        KeywordTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.appendRow("1", {"golf clubs", "1,234", "", "", ""});
        m.appendRow("2", {"the \"best\" golf", "56,000", "3,450,000,000", "12", "x"});
        m.appendRow("7", {"soccer", "950", "", "", ""});
        m.setChecked(0, true); // check marks do not matter
        sortTable(m, KeywordTableModel::Searches, false);

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        const CsvWriteResult result = writeCsv(&buffer, m);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(buffer.data(),
                 Header +
                     "\"2\",\"the \"\"best\"\" golf\",\"56,000\",\"3,450,000,000\",\"12\",\"x\"\r\n"
                     "\"1\",\"golf clubs\",\"1,234\",\"\",\"\",\"\"\r\n"
                     "\"7\",\"soccer\",\"950\",\"\",\"\",\"\"\r\n");
    }

    void shortWriteFails()
    {
        KeywordTableModel m;
        for (int i = 1; i <= 5000; ++i)
            m.appendRow(QByteArray::number(i),
                        {"keyword " + QByteArray::number(i), {}, {}, {}, {}});
        for (qint64 room : {qint64(10), qint64(100'000)}) {
            ShortDevice device(room);
            const CsvWriteResult result = writeCsv(&device, m);
            QVERIFY(!result.ok);
            QVERIFY(!result.error.isEmpty());
        }
    }

    void saveReplacesWithoutQuestion()
    {
        const QString path = m_dir.filePath("results.csv");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an older and much longer file than the new one will be\r\n");
        }
        KeywordTableModel m;
        m.appendRow("1", {"golf", {}, {}, {}, {}});
        const CsvWriteResult result = saveCsvFile(path, m);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(fileBytes(path), Header + "\"1\",\"golf\",\"\",\"\",\"\",\"\"\r\n");
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"results.csv"});
    }

    void saveIntoFolderThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("relativePath");
        // Running as root, a read-only folder would still be writable; these
        // fail for everyone.
        QTest::newRow("parent is a file") << QString("plain-file/results.csv");
        QTest::newRow("missing folders") << QString("no/such/folder/results.csv");
    }

    void saveIntoFolderThatCannotBeWritten()
    {
        QFETCH(QString, relativePath);
        QTemporaryDir dir;
        {
            QFile plain(dir.filePath("plain-file"));
            QVERIFY(plain.open(QIODevice::WriteOnly));
        }
        KeywordTableModel m;
        m.appendRow("1", {"golf", {}, {}, {}, {}});
        const CsvWriteResult result = saveCsvFile(dir.filePath(relativePath), m);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"plain-file"});
    }

    void shortWriteKeepsTheOldFile()
    {
        // A file-size limit makes the kernel write short and then refuse,
        // like a disk that fills up half-way through.
        const QString path = m_dir.filePath("kept.csv");
        const QByteArray good = Header + "\"1\",\"good\",\"\",\"\",\"\",\"\"\r\n";
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(good), good.size());
        }
        KeywordTableModel m;
        for (int i = 1; i <= 20000; ++i)
            m.appendRow(QByteArray::number(i),
                        {"keyword " + QByteArray::number(i), {}, {}, {}, {}});

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 100'000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        CsvWriteResult result;
        {
            auto restore = qScopeGuard([&] {
                setrlimit(RLIMIT_FSIZE, &saved);
                std::signal(SIGXFSZ, oldHandler);
            });
            result = saveCsvFile(path, m);
        }
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(fileBytes(path), good);
        QCOMPARE(QDir(m_dir.path()).entryList({"kept.csv*"}, QDir::Files), QStringList{"kept.csv"});
    }
};

ZANTHE_TEST(TestCsvExport)
#include "tst_csvexport.moc"
