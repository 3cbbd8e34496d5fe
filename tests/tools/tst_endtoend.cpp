#include "TestSupport.h"

#include "DemoData.h"
#include "DemoSession.h"
#include "app/FMain.h"
#include "outside/ProgramFolder.h"
#include "table/KeywordTableModel.h"

#include <QFile>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace zanthe;
using demo::Engine;

namespace {

constexpr Engine Engines[] = {Engine::Google, Engine::Yahoo, Engine::Msn};
constexpr int EngineTexts[] = {KeywordTableModel::GoogleText, KeywordTableModel::YahooText,
                               KeywordTableModel::MsnText};

QByteArray csvLine(const QByteArrayList& fields)
{
    QByteArray line;
    for (const QByteArray& field : fields)
        line += (line.isEmpty() ? "\"" : ",\"") + field + '"';
    return line + "\r\n";
}

// What "Save Results" must write for the table as shown: the column captions,
// then every row in display order, each field in double quotes, CR LF after
// every line. (Demo phrases hold no double quote, so nothing needs escaping.)
QByteArray expectedCsv(const KeywordTableModel& table)
{
    QByteArray csv = csvLine({"No", "Keywords", "Searches", "Google", "Yahoo", "Msn"});
    for (const KeywordRow& row : table.rows())
        csv += csvLine(
            {row.caption, row.texts[0], row.texts[1], row.texts[2], row.texts[3], row.texts[4]});
    return csv;
}

// A count cell as a number; an empty cell counts as nothing.
quint64 countOf(QByteArray text)
{
    bool ok = false;
    const quint64 value = text.replace(",", "").toULongLong(&ok);
    return ok ? value : 0;
}

bool controlsOn(const TfrmMain& w)
{
    for (QPushButton* b : {w.btnMainKeyword, w.btnGatherKeyword, w.btnAddKeyword, w.btnGatherData,
                           w.btnSaveResults, w.bsSkinButton3, w.bsSkinButton4})
        if (!b->isEnabled())
            return false;
    return w.lvwItems->horizontalHeader()->sectionsClickable();
}

} // namespace

// A whole session against the real demo service, through the real main
// window and its dialogs: main keyword, Gather Keywords with the security
// image answered, Gather Data, sort by Google descending, Save Results.
class TestEndToEnd final : public QObject {
    Q_OBJECT

    demo::ServiceProcess m_service;
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(m_service.start(QStringLiteral(ZANTHE_DEMO_SERVICE), {"--reveal-answers"}),
                 qPrintable(m_service.error()));
        // Read by each main window when it is made.
        demo::pointProgramAt(m_service.baseUrl());
        setProgramFolder(m_dir.path());
    }

    void cleanupTestCase()
    {
        demo::forgetServiceVariables();
        setProgramFolder({});
        m_service.stop();
    }

    void wholeSession_data()
    {
        QTest::addColumn<QByteArray>("seed");
        QTest::addColumn<bool>("broad");
        QTest::addColumn<int>("stopAtPage");
        QTest::addColumn<QString>("csvName");
        // The service challenges only the first request for a seed, so each
        // pass has a seed of its own. Stopping while the 8th page arrives
        // leaves two rows complete and the third with its Google count only.
        QTest::newRow("precise, whole run")
            << QByteArray("golf clubs") << false << 0 << QStringLiteral("precise.csv");
        QTest::newRow("broad, stopped in the middle")
            << QByteArray("fly fishing") << true << 8 << QStringLiteral("broad.csv");
    }

    void wholeSession()
    {
        QFETCH(QByteArray, seed);
        QFETCH(bool, broad);
        QFETCH(int, stopAtPage);
        QFETCH(QString, csvName);

        TfrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        demo::DemoSession session(window);

        QVERIFY2(session.setMainKeyword(seed), qPrintable(session.error()));
        QCOMPARE(window.bsSkinStatusPanel1->text(), "Main Keyword: " + QString::fromUtf8(seed));

        // One challenge, then the service's phrases in page order.
        QVERIFY2(session.gatherKeywords(), qPrintable(session.error()));
        QCOMPARE(session.challengesAnswered(), 1);
        const QList<demo::Suggestion> suggestions = demo::suggestionsFor(seed);
        const int rows = int(suggestions.size());
        QCOMPARE(window.items->count(), rows);
        for (int i = 0; i < rows; ++i) {
            const KeywordRow& row = window.items->row(i);
            QCOMPARE(row.caption, QByteArray::number(i + 1));
            QCOMPARE(row.texts[KeywordTableModel::KeywordText], suggestions.at(i).phrase);
            QCOMPARE(row.texts[KeywordTableModel::SearchesText],
                     demo::withThousands(suggestions.at(i).searches));
        }
        QCOMPARE(window.SecondStatusPanel->text(), QStringLiteral("%1 items listed").arg(rows));

        // Rows are asked in order, Google, Yahoo and MSN each. Every page that
        // arrived before the stop gave its count; nothing was asked after it.
        QVERIFY2(session.gatherData(broad, stopAtPage), qPrintable(session.error()));
        QCOMPARE(window.btnGatherData->text(), QStringLiteral("Gather Data"));
        QVERIFY(controlsOn(window));
        QCOMPARE(window.BroadSearch != 0, broad);
        QCOMPARE(window.Aborted, stopAtPage > 0);
        const QString status = window.MainStatusPanel->text();
        if (stopAtPage > 0)
            QVERIFY2(status == QLatin1String("Process aborted!") ||
                         status.startsWith(QLatin1String("Connection error")),
                     qPrintable(status));
        else
            QCOMPARE(status, QStringLiteral("Process completed sucessfull!"));
        const int stored = stopAtPage > 0 ? stopAtPage - 1 : 3 * rows;
        QCOMPARE(session.pagesArrived(), stopAtPage > 0 ? stopAtPage : 3 * rows);
        for (int i = 0; i < rows; ++i) {
            const QByteArray keyword = window.items->text(i, KeywordTableModel::KeywordText);
            for (int e = 0; e < 3; ++e) {
                const QByteArray expected =
                    3 * i + e < stored
                        ? demo::withThousands(demo::searchCount(Engines[e], keyword, !broad))
                        : QByteArray();
                QCOMPARE(window.items->text(i, EngineTexts[e]), expected);
            }
        }
        QHash<QByteArray, KeywordRow> gathered;
        for (const KeywordRow& row : window.items->rows())
            gathered.insert(row.caption, row);

        // The same rows, each whole, Google counts falling.
        QVERIFY2(session.sortByGoogleDescending(), qPrintable(session.error()));
        QCOMPARE(SortColumn, int(KeywordTableModel::Google));
        QVERIFY(!SortAscending);
        QCOMPARE(window.items->count(), rows);
        for (int i = 0; i < rows; ++i) {
            const KeywordRow& row = window.items->row(i);
            QVERIFY(gathered.contains(row.caption));
            QCOMPARE(row.texts, gathered.take(row.caption).texts);
            if (i > 0)
                QVERIFY2(countOf(window.items->text(i - 1, KeywordTableModel::GoogleText)) >=
                             countOf(row.texts[KeywordTableModel::GoogleText]),
                         row.caption.constData());
        }
        if (stopAtPage > 0) // the rows not reached sink to the bottom
            QVERIFY(window.items->text(rows - 1, KeywordTableModel::GoogleText).isEmpty());

        // The file holds exactly the table as shown.
        const QString path = m_dir.filePath(csvName);
        QVERIFY2(session.saveResults(path), qPrintable(session.error()));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), expectedCsv(*window.items));

        QCOMPARE(session.messages(), QStringList());
    }
};

ZANTHE_TEST(TestEndToEnd)
#include "tst_endtoend.moc"
