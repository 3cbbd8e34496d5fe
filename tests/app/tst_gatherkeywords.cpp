#include "SuggestServer.h"
#include "TestSupport.h"

#include "app/FMain.h"
#include "app/MessageBox.h"
#include "app/ModalSeam.h"
#include "dialogs/FCaptcha.h"
#include "dialogs/ImageView.h"
#include "outside/ProgramFolder.h"
#include "table/KeywordTableModel.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

using namespace zanthe;
using namespace zanthe::test;

namespace {

const QByteArray SuggestTarget = "/?seed=golf+clubs&adult_filter=remove_offensive&suggest=Hit+Me";
const QString CancelDialog = "<cancel>";
const QByteArray FailedPage = "<404>";

QByteArray answerTarget(const QByteArray& query)
{
    return "/keyword-suggestion-tool.html?password=" + query;
}

// True when every control that changes the table or starts the other run
// is off, and the header does not sort.
bool controlsOff(const TfrmMain& w)
{
    for (QPushButton* b : {w.btnMainKeyword, w.btnGatherKeyword, w.btnAddKeyword, w.btnGatherData,
                           w.btnSaveResults, w.btnUpdate, w.bsSkinButton3, w.bsSkinButton4})
        if (b->isEnabled())
            return false;
    return !w.lvwItems->horizontalHeader()->sectionsClickable();
}

bool controlsOn(const TfrmMain& w)
{
    for (QPushButton* b : {w.btnMainKeyword, w.btnGatherKeyword, w.btnAddKeyword, w.btnGatherData,
                           w.btnSaveResults, w.btnUpdate, w.bsSkinButton3, w.bsSkinButton4})
        if (!b->isEnabled())
            return false;
    return w.lvwItems->horizontalHeader()->sectionsClickable();
}

QList<SuggestServer::Page> pagesOf(const QByteArrayList& bodies)
{
    QList<SuggestServer::Page> pages;
    for (const QByteArray& b : bodies)
        pages.append(b == FailedPage ? SuggestServer::Page{"", 404} : SuggestServer::Page{b});
    return pages;
}

// Answers the run's dialogs by using their real widgets: the security-image
// dialogs from one script (a text to type and "Ok", or CancelDialog), the
// message boxes from another (true: OK). Records what each dialog showed.
class RunDriver final {
public:
    struct Seen {
        QByteArray random;
        QByteArray seed;
        ImageView::State image;
        bool controlsOff;
    };

    explicit RunDriver(TfrmMain& w)
        : m_w(w)
    {
        setModalHook([this](QDialog* d) { answer(d); });
    }
    ~RunDriver() { setModalHook({}); }

    std::deque<QString> dialogAnswers;
    // Runs in each security-image dialog before it is answered.
    std::function<void()> beforeAnswer;
    std::deque<bool> questionAnswers;
    bool waitForImage = false;

    QList<Seen> dialogs;
    QStringList messages;
    int unexpected = 0;

private:
    void answer(QDialog* d)
    {
        if (auto* c = qobject_cast<TfrmCaptcha*>(d)) {
            if (waitForImage)
                (void)QTest::qWaitFor(
                    [c] { return c->EmbeddedWB1->state() != ImageView::State::Loading; }, 5000);
            dialogs.append(
                {c->RandomValue, c->SeedValue, c->EmbeddedWB1->state(), controlsOff(m_w)});
            if (beforeAnswer)
                beforeAnswer();
            if (dialogAnswers.empty())
                ++unexpected;
            const QString text = dialogAnswers.empty() ? CancelDialog : dialogAnswers.front();
            if (!dialogAnswers.empty())
                dialogAnswers.pop_front();
            if (text == CancelDialog) {
                QTest::mouseClick(c->btnCancel, Qt::LeftButton);
            } else {
                QTest::keyClicks(c->edtPassword, text);
                QTest::mouseClick(c->btnOk, Qt::LeftButton);
            }
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(d)) {
            messages << box->text();
            bool ok = true;
            if (questionAnswers.empty())
                ++unexpected;
            else {
                ok = questionAnswers.front();
                questionAnswers.pop_front();
            }
            QAbstractButton* b = box->button(ok ? QMessageBox::Ok : QMessageBox::Cancel);
            QTest::mouseClick(b ? b : box->button(QMessageBox::Ok), Qt::LeftButton);
            return;
        }
        ++unexpected;
        d->reject();
    }

    TfrmMain& m_w;
};

} // namespace

class TestGatherKeywords final : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir; // program folder: the scratch page lands here
    std::unique_ptr<SuggestServer> m_server;
    std::unique_ptr<TfrmMain> m_w;

    TfrmMain& window() { return *m_w; }
    void click() { QTest::mouseClick(m_w->btnGatherKeyword, Qt::LeftButton); }
    void addRows(int n)
    {
        for (int i = 1; i <= n; ++i)
            m_w->items->appendRow(QByteArray::number(i), {"old", "1", "2", "3", "4"});
    }
    QByteArrayList keywords(int from) const
    {
        QByteArrayList out;
        for (int i = from; i < m_w->items->count(); ++i) {
            const KeywordRow& r = m_w->items->row(i);
            out << r.caption + "|" + r.texts[0] + "|" + r.texts[1] + "|" + r.texts[2] + r.texts[3] +
                       r.texts[4];
        }
        return out;
    }

private slots:
    void initTestCase() { setProgramFolder(m_dir.path()); }
    void init()
    {
        m_server = std::make_unique<SuggestServer>();
        m_server->setImage(pngBytes(200, 60));
        qputenv("ZANTHE_SUGGEST_URL", m_server->base() + "/");
        m_w = std::make_unique<TfrmMain>();
        qunsetenv("ZANTHE_SUGGEST_URL");
        m_w->MainKeyword = "golf clubs";
        m_w->show();
    }
    void cleanup()
    {
        m_w.reset();
        m_server.reset();
    }

    void serviceAddressFromEnvironment() { QCOMPARE(window().endpoints.suggest, m_server->base()); }

    void emptyMainKeyword()
    {
        RunDriver driver(window());
        driver.questionAnswers = {true};
        window().MainKeyword.clear();
        window().Aborted = true;
        addRows(2);
        click();
        QCOMPARE(driver.messages,
                 QStringList{"Please enter a main keyword before gather keywords."});
        QCOMPARE(window().msgMain->history().first().buttons, SkinMessage::Buttons::Ok);
        QVERIFY(!window().Aborted);
        QVERIFY(m_server->pageTargets().isEmpty());
        QCOMPARE(window().items->count(), 2);
        QVERIFY(controlsOn(window()));
        QCOMPARE(driver.unexpected, 0);
    }

    // Results at once: no dialog, rows numbered on after the table's rows.
    // The run starts by clearing a stop left by an earlier run, and holds the
    // controls while the page is on its way.
    void directResults()
    {
        RunDriver driver(window());
        addRows(2);
        window().Aborted = true;
        m_server->setPages({resultsPage({{"<b>1,234</b>", "golf clubs"},
                                         {"85", "cheap golf clubs"},
                                         {"7", "golf clubs &amp; bags"}})});
        m_server->setPageDelay(400);
        bool offDuringFetch = false;
        QTimer::singleShot(150, m_w.get(), [&] {
            offDuringFetch = controlsOff(window());
            // A second start while the first waits is refused.
            window().btnGatherKeywordClick();
        });
        click();

        QVERIFY(offDuringFetch);
        QVERIFY(controlsOn(window()));
        QCOMPARE(m_server->pageTargets(), QByteArrayList{SuggestTarget});
        QVERIFY(driver.dialogs.isEmpty());
        QVERIFY(driver.messages.isEmpty());
        QCOMPARE(keywords(2), (QByteArrayList{"3|golf clubs|1,234|", "4|cheap golf clubs|85|",
                                              "5|golf clubs & bags|7|"}));
        QCOMPARE(window().SecondStatusPanel->text(), QString("5 items listed"));
        QVERIFY(!window().Aborted);
        QCOMPARE(driver.unexpected, 0);
    }

    // A challenge, shown with its image; the answer goes back with the
    // hidden values, each escaped; then the results.
    void challengeThenResults()
    {
        RunDriver driver(window());
        driver.waitForImage = true;
        driver.dialogAnswers = {"ab cd"};
        m_server->setPages({challengePage("r 1&x", "golf clubs", "/image?id=7&amp;v=1"),
                            resultsPage({{"40", "golf"}, {"12", "clubs"}})});
        click();

        QCOMPARE(driver.dialogs.size(), 1);
        QCOMPARE(driver.dialogs[0].random, QByteArray("r 1&x"));
        QCOMPARE(driver.dialogs[0].seed, QByteArray("golf clubs"));
        QCOMPARE(driver.dialogs[0].image, ImageView::State::Shown);
        QVERIFY(driver.dialogs[0].controlsOff);
        QCOMPARE(m_server->imageTargets(), QByteArrayList{"/image?id=7&v=1"});
        QCOMPARE(
            m_server->pageTargets(),
            (QByteArrayList{SuggestTarget, answerTarget("ab+cd&random=r+1%26x&seed=golf+clubs")}));
        QCOMPARE(keywords(0), (QByteArrayList{"1|golf|40|", "2|clubs|12|"}));
        QCOMPARE(window().SecondStatusPanel->text(), QString("2 items listed"));
        QVERIFY(driver.messages.isEmpty());
        QVERIFY(controlsOn(window()));
        QCOMPARE(driver.unexpected, 0);
    }

    // Each wrong answer asks whether to go on; every pass gets a fresh dialog
    // on the latest challenge page.
    void twoWrongAnswersThenRight()
    {
        RunDriver driver(window());
        driver.dialogAnswers = {"aaa", "bbb", "ccc"};
        driver.questionAnswers = {true, true};
        m_server->setPages({challengePage("r1", "s1", "/image"),
                            challengePage("r2", "s2", "/image"),
                            challengePage("r3", "s3", "/image"), resultsPage({{"9", "golf"}})});
        click();

        QCOMPARE(driver.dialogs.size(), 3);
        QCOMPARE(driver.dialogs[0].random, QByteArray("r1"));
        QCOMPARE(driver.dialogs[1].random, QByteArray("r2"));
        QCOMPARE(driver.dialogs[2].random, QByteArray("r3"));
        const QString question = "Wrong password. Do you want try again?";
        QCOMPARE(driver.messages, (QStringList{question, question}));
        QCOMPARE(window().msgMain->history().first().buttons, SkinMessage::Buttons::OkCancel);
        QCOMPARE(m_server->pageTargets(),
                 (QByteArrayList{SuggestTarget, answerTarget("aaa&random=r1&seed=s1"),
                                 answerTarget("bbb&random=r2&seed=s2"),
                                 answerTarget("ccc&random=r3&seed=s3")}));
        QCOMPARE(keywords(0), QByteArrayList{"1|golf|9|"});
        QVERIFY(controlsOn(window()));
        QCOMPARE(driver.unexpected, 0);
    }

    // Every way a run can end without results leaves the table as it was and
    // gives the controls back.
    void endsWithoutRows_data()
    {
        QTest::addColumn<QByteArrayList>("pages");
        QTest::addColumn<QStringList>("dialogAnswers");
        QTest::addColumn<QList<bool>>("questionAnswers");
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("dialogs");

        const QByteArray c1 = challengePage("r1", "s1", "/image");
        const QByteArray c2 = challengePage("r2", "s2", "/image");
        const QByteArray c3 = challengePage("r3", "s3", "/image");
        const QByteArray results = resultsPage({{"9", "golf"}});
        QTest::newRow("cancel in the first dialog")
            << QByteArrayList{c1, results} << QStringList{CancelDialog} << QList<bool>{} << 1 << 1;
        QTest::newRow("cancel in the second dialog")
            << QByteArrayList{c1, c2, results} << QStringList{"a", CancelDialog}
            << QList<bool>{true} << 2 << 2;
        QTest::newRow("cancel on the second question")
            << QByteArrayList{c1, c2, c3, results} << QStringList{"a", "b"}
            << QList<bool>{true, false} << 3 << 2;
        QTest::newRow("cancel on the first question")
            << QByteArrayList{c1, c2, results} << QStringList{"a"} << QList<bool>{false} << 2 << 1;
        QTest::newRow("suggestion request fails")
            << QByteArrayList{FailedPage, results} << QStringList{} << QList<bool>{} << 1 << 0;
        QTest::newRow("answer request fails") << QByteArrayList{c1, FailedPage, results}
                                              << QStringList{"a"} << QList<bool>{} << 2 << 1;
        QTest::newRow("neither challenge nor results")
            << QByteArrayList{"<html>down for maintenance</html>"} << QStringList{} << QList<bool>{}
            << 1 << 0;
    }
    void endsWithoutRows()
    {
        QFETCH(QByteArrayList, pages);
        QFETCH(QStringList, dialogAnswers);
        QFETCH(QList<bool>, questionAnswers);
        QFETCH(int, requests);
        QFETCH(int, dialogs);

        RunDriver driver(window());
        driver.dialogAnswers.assign(dialogAnswers.begin(), dialogAnswers.end());
        driver.questionAnswers.assign(questionAnswers.begin(), questionAnswers.end());
        m_server->setPages(pagesOf(pages));
        addRows(3);
        const QString countText = window().SecondStatusPanel->text();
        click();

        QCOMPARE(m_server->pageTargets().size(), requests);
        QCOMPARE(driver.dialogs.size(), dialogs);
        QCOMPARE(driver.messages.size(), questionAnswers.size());
        QCOMPARE(window().items->count(), 3);
        QCOMPARE(window().SecondStatusPanel->text(), countText);
        QVERIFY(controlsOn(window()));
        QCOMPARE(driver.unexpected, 0);
    }

    // Closing the window while the dialog is up stops the run: the answer is
    // not sent, nothing is asked again, and the window closes once the run
    // has returned.
    void closeDuringChallenge()
    {
        RunDriver driver(window());
        driver.dialogAnswers = {"abc"};
        driver.beforeAnswer = [this] { m_w->close(); };
        m_server->setPages({challengePage("r1", "s1", "/image"), resultsPage({{"5", "golf"}})});
        click();

        QCOMPARE(driver.dialogs.size(), 1);
        QVERIFY(driver.messages.isEmpty());
        QCOMPARE(m_server->pageTargets(), QByteArrayList{SuggestTarget});
        QCOMPARE(window().items->count(), 0);
        QVERIFY(controlsOn(window()));
        QTRY_VERIFY(!window().isVisible());
        QCOMPARE(driver.unexpected, 0);
    }

    // The next run starts clean after a failed fetch left the stop flag set.
    void runAfterFailedRun()
    {
        RunDriver driver(window());
        m_server->setPages(pagesOf({FailedPage, resultsPage({{"5", "golf"}})}));
        click();
        QVERIFY(window().Aborted);
        QCOMPARE(window().items->count(), 0);
        click();
        QCOMPARE(keywords(0), QByteArrayList{"1|golf|5|"});
        QCOMPARE(m_server->pageTargets(), (QByteArrayList{SuggestTarget, SuggestTarget}));
        QCOMPARE(driver.unexpected, 0);
    }
};

ZANTHE_TEST(TestGatherKeywords)
#include "tst_gatherkeywords.moc"
