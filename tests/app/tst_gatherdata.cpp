#include "NoPlaceForFiles.h"
#include "SearchEngineServer.h"
#include "TestSupport.h"

#include "app/FMain.h"
#include "app/ModalSeam.h"
#include "dialogs/FSelectSearch.h"
#include "outside/ProgramFolder.h"
#include "table/KeywordTableModel.h"
#include "web/PageFetcher.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace zanthe;
using zanthe::test::SearchEngineServer;

namespace {

const QByteArray ConnectionError = "Connection error, check if you are connected and url exists.";

// Answers every modal dialog through its real widgets: the Select Search
// Type dialog as set here, message boxes and error reports with OK.
struct DialogAnswers {
    bool ok = true;
    bool precise = true;
    bool broad = false;
    int searchDialogs = 0;
    QStringList messages;
    QStringList errorReports;
    // What the search-type dialog looked like when it opened.
    QStringList looks;

    DialogAnswers()
    {
        setModalHook([this](QDialog* d) {
            if (auto* s = qobject_cast<TfrmSelSearch*>(d)) {
                ++searchDialogs;
                looks = {s->windowTitle(),
                         s->bsSkinCheckRadioBox1->text(),
                         QString::number(s->bsSkinCheckRadioBox1->isChecked()),
                         s->bsSkinCheckRadioBox2->text(),
                         QString::number(s->bsSkinCheckRadioBox2->isChecked()),
                         s->btnOk->text(),
                         s->btnCancel->text(),
                         QString::number(s->height())};
                // Both captions show whole.
                for (QCheckBox* box : {s->bsSkinCheckRadioBox1, s->bsSkinCheckRadioBox2})
                    if (box->width() < box->sizeHint().width() ||
                        !s->rect().contains(box->geometry()))
                        looks << "clipped " + box->objectName();
                for (auto [box, wanted] : {std::pair{s->bsSkinCheckRadioBox1, precise},
                                           std::pair{s->bsSkinCheckRadioBox2, broad}})
                    if (box->isChecked() != wanted)
                        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
                QTest::mouseClick(ok ? s->btnOk : s->btnCancel, Qt::LeftButton);
            } else if (auto* box = qobject_cast<QMessageBox*>(d)) {
                (box->objectName() == "errorReport" ? errorReports : messages) << box->text();
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            } else {
                d->reject();
            }
        });
    }
    ~DialogAnswers() { setModalHook({}); }
};

void addRows(TfrmMain& w, const QByteArrayList& keywords)
{
    for (const QByteArray& k : keywords) {
        const QByteArray n = QByteArray::number(w.items->count() + 1);
        w.items->appendRow(n, {k, "s" + n, "old g", "old y", "old m"});
    }
}

QByteArrayList engineTexts(const TfrmMain& w, int row)
{
    return {w.items->text(row, KeywordTableModel::GoogleText),
            w.items->text(row, KeywordTableModel::YahooText),
            w.items->text(row, KeywordTableModel::MsnText)};
}

QByteArray status(const TfrmMain& w)
{
    return w.MainStatusPanel->text().toUtf8();
}

// Google's page for `value` redirects to a body that trickles in slowly,
// so a test can act while it arrives.
void slowGooglePageFor(SearchEngineServer& server, const QByteArray& value)
{
    server.http.slowPage("/google/slow", "first\n", "more\n", 100, 20);
    server.handler(SearchEngineServer::Google, value,
                   [](const httplib::Request&, httplib::Response& res) {
                       res.status = 302;
                       res.set_header("Location", "/google/slow");
                   });
}

void setCounts(SearchEngineServer& server, const QByteArray& value, const QByteArray& g,
               const QByteArray& y, const QByteArray& m)
{
    server.count(SearchEngineServer::Google, value, g);
    server.count(SearchEngineServer::Yahoo, value, y);
    server.count(SearchEngineServer::Msn, value, m);
}

// The controls a run switches off, and those that stay usable.
QList<QPushButton*> lockedDuringRun(const TfrmMain& w)
{
    return {w.btnMainKeyword, w.btnGatherKeyword, w.btnAddKeyword, w.btnSaveResults,
            w.btnUpdate,      w.bsSkinButton3,    w.bsSkinButton4};
}
QList<QPushButton*> usableDuringRun(const TfrmMain& w)
{
    return {w.btnGatherData, w.bsSkinButton1, w.bsSkinButton2, w.btnHelp, w.btnMakeMoney};
}

bool idle(const TfrmMain& w)
{
    bool all = w.btnGatherData->text() == "Gather Data" &&
               !w.btnGatherData->property("running").toBool() &&
               w.lvwItems->horizontalHeader()->sectionsClickable() &&
               w.currentRun() == TfrmMain::Run::None;
    for (QPushButton* b : lockedDuringRun(w) + usableDuringRun(w))
        all = all && b->isEnabled();
    return all;
}

void clickHeader(TfrmMain& w, int section)
{
    QHeaderView* header = w.lvwItems->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
}

// A click that waits in the event queue like one the user made meanwhile.
void postClick(QWidget* widget)
{
    const QPointF at(5, 5);
    const QPointF global = widget->mapToGlobal(at);
    QCoreApplication::postEvent(widget,
                                new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(widget,
                                new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

} // namespace

class TestGatherData final : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SearchEngineServer> m_server;
    std::unique_ptr<TfrmMain> m_window;

    TfrmMain& window()
    {
        m_window = std::make_unique<TfrmMain>();
        m_window->endpoints = m_server->endpoints();
        m_window->show();
        return *m_window;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        setProgramFolder(m_dir->path());
        m_server = std::make_unique<SearchEngineServer>();
    }
    void cleanup()
    {
        m_window.reset();
        m_server.reset();
        setProgramFolder({});
    }

    void emptyTable()
    {
        DialogAnswers answers;
        TfrmMain& w = window();
        QTest::mouseClick(w.btnGatherData, Qt::LeftButton);
        QCOMPARE(answers.messages,
                 QStringList{"You need add keywords to gather data from search engines."});
        QCOMPARE(answers.searchDialogs, 0);
        QVERIFY(idle(w));
        QVERIFY(m_server->http.requests().isEmpty());
    }

    void cancelChangesNothing()
    {
        DialogAnswers answers;
        answers.ok = false;
        answers.precise = false;
        TfrmMain& w = window();
        addRows(w, {"a"});
        w.Aborted = true;
        w.BroadSearch = 0;
        QTest::mouseClick(w.btnGatherData, Qt::LeftButton);
        QCOMPARE(answers.searchDialogs, 1);
        QVERIFY(w.Aborted);
        QCOMPARE(w.BroadSearch, 0);
        QVERIFY(idle(w));
        QVERIFY(m_server->http.requests().isEmpty());
        QCOMPARE(engineTexts(w, 0), (QByteArrayList{"old g", "old y", "old m"}));
    }

    // Only the first box decides; the dialog opens the same every time.
    void searchType_data()
    {
        QTest::addColumn<bool>("precise");
        QTest::addColumn<bool>("broad");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("precise") << true << false << QByteArray("%22golf+clubs%22");
        QTest::newRow("both ticked") << true << true << QByteArray("%22golf+clubs%22");
        QTest::newRow("broad") << false << true << QByteArray("golf+clubs");
        QTest::newRow("neither ticked") << false << false << QByteArray("golf+clubs");
    }
    void searchType()
    {
        QFETCH(bool, precise);
        QFETCH(bool, broad);
        QFETCH(QByteArray, value);
        setCounts(*m_server, value, "1", "2", "3");
        DialogAnswers answers;
        answers.precise = precise;
        answers.broad = broad;
        TfrmMain& w = window();
        addRows(w, {"golf clubs"});
        QTest::mouseClick(w.btnGatherData, Qt::LeftButton);

        QCOMPARE(answers.looks,
                 (QStringList{"Select Search Type",
                              "Precise Search Eg: \"golf clubs\" Should appear the word in the "
                              "same order.",
                              "1",
                              "Broad Search Eg: golf clubs, any word no matther the order or "
                              "position in the text.",
                              "0", "Ok", "Cancel", "114"}));
        QCOMPARE(w.BroadSearch, value.startsWith("%22") ? 0 : 1);
        QCOMPARE(m_server->http.targets(),
                 (QByteArrayList{"/google/search?q=" + value, "/yahoo/search?p=" + value,
                                 "/msn/results.aspx?q=" + value}));
        QCOMPARE(engineTexts(w, 0), (QByteArrayList{"1", "2", "3"}));
    }

    void fullRun()
    {
        setCounts(*m_server, "%22a%22", "1,000", "2,000", "3,000");
        setCounts(*m_server, "%22b%22", "11", "22", "33");
        m_server->count(SearchEngineServer::Google, "%22c%22", "7");
        m_server->count(SearchEngineServer::Yahoo, "%22c%22", "8");
        // No MSN count for "c": its page has no markers.
        DialogAnswers answers;
        TfrmMain& w = window();
        addRows(w, {"a", "b", "c"});
        // Rows are asked in the order the table shows.
        w.items->applyOrder({2, 0, 1});
        QSignalSpy headerClicks(w.lvwItems->horizontalHeader(), &QHeaderView::sectionClicked);

        bool checked = false;
        QStringList wrong;
        connect(w.IdHTTP1, &PageFetcher::WorkBegin, this, [&] {
            if (checked)
                return;
            checked = true;
            if (w.btnGatherData->text() != "Stop" || !w.btnGatherData->property("running").toBool())
                wrong << "button";
            for (QPushButton* b : lockedDuringRun(w))
                if (b->isEnabled())
                    wrong << b->objectName();
            for (QPushButton* b : usableDuringRun(w))
                if (!b->isEnabled())
                    wrong << b->objectName();
            clickHeader(w, 1);
        });
        QTest::mouseClick(w.btnGatherData, Qt::LeftButton);

        QVERIFY(checked);
        QCOMPARE(wrong, QStringList());
        QCOMPARE(headerClicks.count(), 0);
        QCOMPARE(m_server->http.targets(),
                 (QByteArrayList{"/google/search?q=%22c%22", "/yahoo/search?p=%22c%22",
                                 "/msn/results.aspx?q=%22c%22", "/google/search?q=%22a%22",
                                 "/yahoo/search?p=%22a%22", "/msn/results.aspx?q=%22a%22",
                                 "/google/search?q=%22b%22", "/yahoo/search?p=%22b%22",
                                 "/msn/results.aspx?q=%22b%22"}));
        QCOMPARE(engineTexts(w, 0), (QByteArrayList{"7", "8", ""}));
        QCOMPARE(engineTexts(w, 1), (QByteArrayList{"1,000", "2,000", "3,000"}));
        QCOMPARE(engineTexts(w, 2), (QByteArrayList{"11", "22", "33"}));
        QCOMPARE(status(w), QByteArray("Process completed sucessfull!"));
        QVERIFY(!w.Aborted);
        QVERIFY(idle(w));
        clickHeader(w, 1);
        QCOMPARE(headerClicks.count(), 1);
        QVERIFY(answers.errorReports.isEmpty());
    }

    // One failed fetch ends the whole run; what it reached stays.
    void failedYahooFetch()
    {
        setCounts(*m_server, "%22a%22", "1", "2", "3");
        setCounts(*m_server, "%22b%22", "4", "5", "6");
        setCounts(*m_server, "%22c%22", "7", "8", "9");
        m_server->handler(
            SearchEngineServer::Yahoo, "%22b%22",
            [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
        DialogAnswers answers;
        TfrmMain& w = window();
        addRows(w, {"a", "b", "c"});
        QTest::mouseClick(w.btnGatherData, Qt::LeftButton);
        QCOMPARE(engineTexts(w, 0), (QByteArrayList{"1", "2", "3"}));
        QCOMPARE(engineTexts(w, 1), (QByteArrayList{"4", "old y", "old m"}));
        QCOMPARE(engineTexts(w, 2), (QByteArrayList{"old g", "old y", "old m"}));
        QCOMPARE(m_server->http.requests().size(), 5);
        QCOMPARE(status(w), ConnectionError);
        QVERIFY(w.Aborted);
        QVERIFY(idle(w));
    }

    // Stop while a page arrives, with two more clicks queued behind it: the
    // run ends at once, counts already stored stay, and no second run starts
    // inside the first.
    void stopClick()
    {
        setCounts(*m_server, "%22a%22", "1", "2", "3");
        slowGooglePageFor(*m_server, "%22b%22");
        DialogAnswers answers;
        TfrmMain& w = window();
        addRows(w, {"a", "b", "c"});
        bool clicked = false;
        connect(w.IdHTTP1, &PageFetcher::Work, this, [&] {
            if (clicked || !status(w).contains("%22b%22"))
                return;
            clicked = true;
            for (int i = 0; i < 3; ++i)
                postClick(w.btnGatherData);
        });
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(w.btnGatherData, Qt::LeftButton);
        QVERIFY(clicked);
        QVERIFY2(clock.elapsed() < 1500, "the stop did not end the run");
        QCOMPARE(answers.searchDialogs, 1);
        QCOMPARE(engineTexts(w, 0), (QByteArrayList{"1", "2", "3"}));
        QCOMPARE(engineTexts(w, 1), (QByteArrayList{"old g", "old y", "old m"}));
        QCOMPARE(status(w), ConnectionError);
        QVERIFY(w.Aborted);
        QVERIFY(idle(w));
        QCoreApplication::processEvents(); // any click still queued
        QCOMPARE(answers.searchDialogs, 1);
        QCOMPARE(m_server->http.requests().size(), 5);

        // Back to normal: the next click starts a run again.
        answers.ok = false;
        QTest::mouseClick(w.btnGatherData, Qt::LeftButton);
        QCOMPARE(answers.searchDialogs, 2);
    }

    // Closing the window mid-run stops the run; the window closes once the
    // run has returned.
    void closeDuringRun()
    {
        slowGooglePageFor(*m_server, "%22a%22");
        DialogAnswers answers;
        TfrmMain& w = window();
        addRows(w, {"a", "b"});
        bool closeAccepted = true;
        connect(w.IdHTTP1, &PageFetcher::Work, this, [&] {
            if (w.Aborted)
                return;
            closeAccepted = w.close();
        });
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(w.btnGatherData, Qt::LeftButton);
        QVERIFY(clock.elapsed() < 1500);
        QVERIFY(!closeAccepted);
        QVERIFY(w.isVisible()); // not before the run has returned
        QVERIFY(w.Aborted);
        QVERIFY(idle(w));
        QCOMPARE(status(w), ConnectionError);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 2000);
        QCOMPARE(m_server->http.requests().size(), 2);
        QVERIFY(answers.errorReports.isEmpty());
    }

    // With nowhere to put the scratch file the run ends through its normal
    // closing steps, and the status names the file.
    void scratchFileUnavailable()
    {
        const test::NoPlaceForFiles nowhere(QDir(m_dir->path()));
        QVERIFY(nowhere.created);
        const QString& blocker = nowhere.blocker;
        DialogAnswers answers;
        TfrmMain& w = window();
        addRows(w, {"a", "b"});
        QTest::mouseClick(w.btnGatherData, Qt::LeftButton);
        QVERIFY2(status(w).startsWith("Cannot create the scratch file \"" + blocker.toUtf8()),
                 status(w));
        QVERIFY(idle(w));
        QVERIFY(w.Aborted);
        QVERIFY(m_server->http.requests().isEmpty());
        QVERIFY(answers.errorReports.isEmpty());
    }
};

ZANTHE_TEST(TestGatherData)
#include "tst_gatherdata.moc"
