#pragma once

#include "research/Endpoints.h"

#include <QByteArray>
#include <QLabel>
#include <QPointer>
#include <QWidget>

class QFrame;
class QMovie;
class QProgressBar;
class QPushButton;
class QTableView;

namespace zanthe {

class KeywordTableModel;
class PageFetcher;
class SkinMessage;

// Module-level sort state of the main window's unit.
inline int SortColumn = -1;
inline bool SortAscending = true;

// A label that reports clicks (the banners).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A link label: underlined, hand cursor, opens its own address when clicked.
class LinkLabel final : public ClickLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& caption, QWidget* parent = nullptr);
    QByteArray URL;
};

// The main window. Its behaviour lies in the handlers below; each calls core
// code (src/table, src/web, src/research, src/outside) that tests call directly.
// The handlers are split over FMain*.cpp by concern.
class TfrmMain final : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // State fields.
    bool Aborted = false;
    QByteArray MainKeyword;
    qint32 BroadSearch = 0;
    QByteArray AffiliateId;
    QByteArray BannerUrl;
    QByteArray BannerImagePath;
    QByteArray Link1Url;
    QByteArray Link2Url;
    QByteArray Link1Name;
    QByteArray Link2Name;
    QByteArray AppIconPath;

    // Service addresses, read from the environment at start.
    Endpoints endpoints;

    // Regions.
    QFrame* bsSkinPanel1 = nullptr;
    QFrame* panBanner = nullptr;
    QFrame* bsSkinPanel3 = nullptr;
    QFrame* bsSkinPanel4 = nullptr;
    QFrame* bsSkinStatusBar1 = nullptr;
    // Button bar.
    QPushButton* btnMainKeyword = nullptr;
    QPushButton* btnGatherKeyword = nullptr;
    QPushButton* btnAddKeyword = nullptr;
    QPushButton* btnGatherData = nullptr;
    QPushButton* btnSaveResults = nullptr;
    QPushButton* btnHelp = nullptr;
    QPushButton* btnUpdate = nullptr;
    QPushButton* btnMakeMoney = nullptr;
    // Banner area.
    ClickLabel* imgBanner = nullptr;
    ClickLabel* gifBanner = nullptr;
    QMovie* gifMovie = nullptr;
    // Table.
    QTableView* lvwItems = nullptr;
    KeywordTableModel* items = nullptr;
    // Bottom bar.
    QPushButton* bsSkinButton1 = nullptr;
    QPushButton* bsSkinButton2 = nullptr;
    QPushButton* bsSkinButton3 = nullptr;
    QPushButton* bsSkinButton4 = nullptr;
    LinkLabel* lblLink1URL = nullptr;
    LinkLabel* lblLink2URL = nullptr;
    // Status bar.
    QLabel* MainStatusPanel = nullptr;
    QLabel* bsSkinStatusPanel1 = nullptr;
    QLabel* SecondStatusPanel = nullptr;
    QProgressBar* MainGauge = nullptr;
    // Components without a visible place.
    SkinMessage* msgMain = nullptr;
    PageFetcher* IdHTTP1 = nullptr;

    // Status texts are bytes; these decode them for display.
    void setMainStatus(const QByteArray& text);
    void setItemCountText(const QByteArray& text);

    // Page fetcher (FMainFetch.cpp).
    bool DownloadPage(const QByteArray& url, QByteArray& page);

    // Keyword list import and export (FMainEntry.cpp).
    void LoadKeywordFile(const QByteArray& fileName);
    void ExportResults();

    // Runs: while one is under way the table-changing controls and the other
    // run's button are disabled, and a count run shows "Stop" (FMain.cpp).
    // Handlers hold a RunScope rather than calling these directly.
    enum class Run { None, Counts, Suggestions };
    Run currentRun() const { return m_run; }
    void beginRun(Run run);
    void endRun();
    // True while the Gather Data button reads "Stop".
    bool showsStop() const;

public slots:
    void btnMainKeywordClick();
    void btnGatherKeywordClick();
    void btnAddKeywordClick();
    void btnGatherDataClick();
    void btnSaveResultsClick();
    void btnHelpClick();
    void btnUpdateClick();
    void btnMakeMoneyClick();
    void bsSkinButton1Click();
    void bsSkinButton2Click();
    void bsSkinButton3Click();
    void bsSkinButton4Click();
    void imgBannerClick();
    void gifBannerClick();
    void lvwItemsColumnClick(int column);

    void IdHTTP1WorkBegin(qint64 total);
    void IdHTTP1Work(qint64 countSoFar);
    void IdHTTP1WorkEnd();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void FormCreate();
    void FormShow();
    void FormResize();
    void centreBanners();
    void placeLink2();
    void createHttpClient(); // FMainFetch.cpp
    void showGatherDataRunning(bool running);

    Run m_run = Run::None;
    bool m_closeAfterRun = false;

    // The save dialog's remembered name: folder and file name of the last
    // confirmed export, empty before the first (FMainEntry.cpp).
    QString m_lastExportPath;
};

// Holds a run's guards for as long as its handler runs, so the controls come
// back however the run ends, an escaping error included, and also when the
// window went away while the run waited.
class RunScope final {
public:
    RunScope(TfrmMain& window, TfrmMain::Run run)
        : m_window(&window)
    {
        window.beginRun(run);
    }
    ~RunScope()
    {
        if (m_window)
            m_window->endRun();
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    // False once the window has gone while the run waited.
    bool windowAlive() const { return !m_window.isNull(); }

private:
    QPointer<TfrmMain> m_window;
};

// Banner centring: each size is halved on its own before the subtraction.
struct BannerPlacement {
    int left;
    int top;
};
BannerPlacement centredBanner(int panelWidth, int panelHeight, int bannerWidth, int bannerHeight);

} // namespace zanthe
