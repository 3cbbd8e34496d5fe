#include "ModalScript.h"
#include "TestSupport.h"

#include "app/ErrorReport.h"
#include "app/FMain.h"
#include "app/MessageBox.h"
#include "outside/ProgramFolder.h"
#include "table/KeywordTableModel.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zanthe;

namespace {
void addRows(TfrmMain& w, int n)
{
    for (int i = 1; i <= n; ++i)
        w.items->appendRow(QByteArray::number(i), {"k" + QByteArray::number(i), {}, {}, {}, {}});
}

QByteArrayList captions(const TfrmMain& w)
{
    QByteArrayList out;
    for (const auto& r : w.items->rows())
        out << r.caption;
    return out;
}

// An object whose handler fails the way an unexpected error does.
class Thrower final : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("disk on fire");
        return QObject::event(e);
    }
};
} // namespace

class TestMainWindow final : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir; // no branding files here
private slots:
    void initTestCase() { setProgramFolder(m_dir.path()); }

    void startState()
    {
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.objectName(), QString("frmMain"));
        QCOMPARE(w.windowTitle(), QString("Keyword Zanthe"));
        QCOMPARE(w.size(), QSize(833, 516));
        QCOMPARE(w.MainStatusPanel->text(), QString());
        QCOMPARE(w.bsSkinStatusPanel1->text(), QString("Main Keyword: "));
        QCOMPARE(w.SecondStatusPanel->text(), QString("0 item listed"));
        QCOMPARE(w.MainGauge->value(), 0);
        QCOMPARE(w.MainGauge->maximum(), 100);
        QCOMPARE(w.lblLink1URL->text(), QString("Google"));
        QCOMPARE(w.lblLink2URL->text(), QString("Google"));
        QVERIFY(w.panBanner->isVisible());
        QCOMPARE(w.panBanner->height(), 65);
        QCOMPARE(w.bsSkinPanel1->height(), 33);
        QCOMPARE(w.bsSkinPanel4->height(), 54);
        QCOMPARE(w.bsSkinStatusBar1->height(), 17);
        QCOMPARE(w.bsSkinPanel3->height(), 516 - 33 - 65 - 54 - 17);
        QCOMPARE(SortColumn, -1);
        QCOMPARE(SortAscending, true);
        QVERIFY(!w.Aborted);
        QCOMPARE(w.BroadSearch, 0);
        QVERIFY(w.findChild<QObject*>("msgMain"));
        QCOMPARE(w.bsSkinStatusPanel1->width(), 160);
        QVERIFY(w.SecondStatusPanel->width() >= 82);
        QCOMPARE(w.MainGauge->width(), 130);
        QCOMPARE(w.MainStatusPanel->width(), 833 - 160 - w.SecondStatusPanel->width() - 130);
        // The GIF banner covers the picture banner's rectangle.
        QCOMPARE(w.gifBanner->size(), w.imgBanner->size());
        QCOMPARE(w.gifBanner->pos(), w.imgBanner->pos());
    }

    void noMinimumSizeAndNoSettings()
    {
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(300, 150);
        QTRY_COMPARE(w.size(), QSize(300, 150));
        // What Qt would store per user lands in a throw-away folder.
        const QSettings qtOwn(QSettings::UserScope, "QtProject");
        const QString userConfig =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QVERIFY2(!qtOwn.fileName().startsWith(userConfig), qPrintable(qtOwn.fileName()));
    }

    void buttons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("width");
        QTest::newRow("1") << "btnMainKeyword"
                           << "Main Keyword" << 7 << 99;
        QTest::newRow("2") << "btnGatherKeyword"
                           << "Gather Keywords" << 109 << 98;
        QTest::newRow("3") << "btnAddKeyword"
                           << "Add Keywords" << 210 << 99;
        QTest::newRow("4") << "btnGatherData"
                           << "Gather Data" << 312 << 98;
        QTest::newRow("5") << "btnSaveResults"
                           << "Save Results" << 414 << 98;
        QTest::newRow("6") << "btnHelp"
                           << "Help" << 516 << 98;
        QTest::newRow("7") << "btnUpdate"
                           << "Check Updates" << 618 << 99;
        QTest::newRow("8") << "btnMakeMoney"
                           << "Make Money" << 721 << 98;
        QTest::newRow("b1") << "bsSkinButton1"
                            << "Select All" << 9 << 100;
        QTest::newRow("b2") << "bsSkinButton2"
                            << "Clear Selection" << 112 << 100;
        QTest::newRow("b3") << "bsSkinButton3"
                            << "Delete Selected" << 215 << 100;
        QTest::newRow("b4") << "bsSkinButton4"
                            << "Delete All" << 319 << 99;
    }
    void buttons()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, left);
        QFETCH(int, width);
        TfrmMain w;
        auto* b = w.findChild<QPushButton*>(name);
        QVERIFY(b);
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->geometry(), QRect(left, 7, width, 20));
        QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
    }

    void tableView()
    {
        TfrmMain w;
        QCOMPARE(w.lvwItems->objectName(), QString("lvwItems"));
        const int widths[] = {49, 132, 132, 104, 104, 104};
        for (int c = 0; c < 6; ++c)
            QCOMPARE(w.lvwItems->columnWidth(c), widths[c]);
        QVERIFY(w.lvwItems->showGrid());
        QCOMPARE(w.lvwItems->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!w.lvwItems->isSortingEnabled());
        QVERIFY(w.lvwItems->horizontalHeader()->sectionsClickable());
    }

    void centring_data()
    {
        QTest::addColumn<QSize>("panel");
        QTest::addColumn<QSize>("banner");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("design size") << QSize(833, 65) << QSize(105, 105) << QPoint(364, -20);
        QTest::newRow("even panel, odd banner")
            << QSize(834, 65) << QSize(467, 60) << QPoint(184, 2);
        QTest::newRow("60px banner in 70") << QSize(833, 70) << QSize(100, 60) << QPoint(366, 5);
        QTest::newRow("banner wider than panel")
            << QSize(100, 65) << QSize(301, 20) << QPoint(-100, 22);
    }
    void centring()
    {
        QFETCH(QSize, panel);
        QFETCH(QSize, banner);
        QFETCH(QPoint, expected);
        const BannerPlacement p =
            centredBanner(panel.width(), panel.height(), banner.width(), banner.height());
        QCOMPARE(QPoint(p.left, p.top), expected);
    }

    void centringFollowsTheWindow()
    {
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.panBanner->width(), 833);
        QCOMPARE(w.imgBanner->pos(), QPoint(364, -20));
        QCOMPARE(w.gifBanner->pos(), QPoint(364, -20));
        w.resize(934, 516); // banner area 934 wide
        QTRY_COMPARE(w.panBanner->width(), 934);
        QCOMPARE(w.imgBanner->pos(), QPoint(467 - 52, -20));
        QCOMPARE(w.gifBanner->pos(), QPoint(467 - 52, -20));
        // The right link label stays at the bar's right edge.
        QCOMPARE(w.lblLink2URL->geometry().right(), w.bsSkinPanel4->width() - 14);
    }

    void deleteSelected_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QList<int>>("checkedPositions");
        QTest::addColumn<QByteArrayList>("remaining");
        QTest::addColumn<QString>("countText");
        QTest::newRow("ok") << true << QList<int>{1, 3} << QByteArrayList{"1", "3", "5"}
                            << "3 items listed";
        QTest::newRow("cancel") << false << QList<int>{1, 3}
                                << QByteArrayList{"1", "2", "3", "4", "5"} << "5 items listed";
        QTest::newRow("nothing marked")
            << true << QList<int>{} << QByteArrayList{"1", "2", "3", "4", "5"} << "5 items listed";
    }
    void deleteSelected()
    {
        QFETCH(bool, answer);
        QFETCH(QList<int>, checkedPositions);
        QFETCH(QByteArrayList, remaining);
        QFETCH(QString, countText);
        TfrmMain w;
        addRows(w, 5);
        w.setItemCountText("Total: 5");
        for (int p : checkedPositions)
            w.items->setChecked(p, true);
        test::MessageAnswerer answers{answer};
        QTest::mouseClick(w.bsSkinButton3, Qt::LeftButton);
        QCOMPARE(answers.texts,
                 QStringList{"Are you sure do you want to delete the selected keywords?"});
        QCOMPARE(w.msgMain->history().last().result, answer ? 1 : 2);
        QCOMPARE(w.msgMain->history().last().kind, SkinMessage::Kind::Information);
        QCOMPARE(captions(w), remaining);
        QCOMPARE(w.SecondStatusPanel->text(), countText);
        if (!answer)
            QVERIFY(w.items->isChecked(1) && w.items->isChecked(3));
    }

    void deleteAll_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("countText");
        QTest::newRow("empty, ok") << 0 << true << "0 items listed";
        QTest::newRow("empty, cancel") << 0 << false << "0 items listed";
        QTest::newRow("three, ok") << 3 << true << "0 items listed";
        QTest::newRow("three, cancel") << 3 << false << "3 items listed";
    }
    void deleteAll()
    {
        QFETCH(int, rows);
        QFETCH(bool, answer);
        QFETCH(QString, countText);
        TfrmMain w;
        addRows(w, rows);
        test::MessageAnswerer answers{answer};
        QTest::mouseClick(w.bsSkinButton4, Qt::LeftButton);
        QCOMPARE(answers.texts, QStringList{"Are you sure do you want to delete all?"});
        QCOMPARE(w.SecondStatusPanel->text(), countText);
        QCOMPARE(w.items->count(), answer ? 0 : rows);
    }

    void selectAllAndClear()
    {
        TfrmMain w;
        addRows(w, 3);
        test::MessageAnswerer none;
        QTest::mouseClick(w.bsSkinButton1, Qt::LeftButton);
        for (int i = 0; i < 3; ++i)
            QVERIFY(w.items->isChecked(i));
        QTest::mouseClick(w.bsSkinButton2, Qt::LeftButton);
        for (int i = 0; i < 3; ++i)
            QVERIFY(!w.items->isChecked(i));
        QCOMPARE(none.texts, QStringList());
        QCOMPARE(w.SecondStatusPanel->text(), QString("0 item listed"));
    }

    void messageBoxKeys_data()
    {
        QTest::addColumn<bool>("withCancel");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("enter, ok/cancel") << true << int(Qt::Key_Return) << 1;
        QTest::newRow("escape, ok/cancel") << true << int(Qt::Key_Escape) << 2;
        QTest::newRow("enter, ok") << false << int(Qt::Key_Return) << 1;
        QTest::newRow("escape, ok") << false << int(Qt::Key_Escape) << 1;
    }
    void messageBoxKeys()
    {
        QFETCH(bool, withCancel);
        QFETCH(int, key);
        QFETCH(int, expected);
        TfrmMain w;
        QString shownTitle;
        setModalHook([&](QDialog* d) {
            shownTitle = d->windowTitle();
            QTest::keyClick(d, Qt::Key(key));
        });
        const int result = w.msgMain->MessageDlg(
            QByteArray("question"), SkinMessage::Kind::Information,
            withCancel ? SkinMessage::Buttons::OkCancel : SkinMessage::Buttons::Ok);
        setModalHook({});
        QCOMPARE(result, expected);
        QVERIFY(!shownTitle.isEmpty());
        QCOMPARE(w.msgMain->history().size(), 1);
        QCOMPARE(w.msgMain->history().first().text, QString("question"));
    }

    void errorReportKeepsTheProgramGoing()
    {
        QString report;
        setModalHook([&](QDialog* d) {
            report = d->findChild<QLabel*>("qt_msgbox_label")->text();
            d->accept();
        });
        Thrower thrower;
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QTRY_VERIFY(report.contains("disk on fire"));
        setModalHook({});
        // Events still flow afterwards.
        bool later = false;
        QTimer::singleShot(0, [&] { later = true; });
        QTRY_VERIFY(later);
    }
};

ZANTHE_TEST(TestMainWindow)
#include "tst_mainwindow.moc"
