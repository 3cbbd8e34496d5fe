#include "FMain.h"

#include "Branding.h"
#include "MessageBox.h"
#include "dialogs/DialogParts.h"
#include "table/ByteText.h"
#include "table/KeywordTableModel.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace zanthe {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, int left, int width)
{
    QPushButton* b = dialogparts::button(parent, name, caption, left, 7, width, 20);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QFrame* makePanel(QWidget* parent, const char* name, bool framed)
{
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(framed ? QFrame::StyledPanel : QFrame::NoFrame);
    return f;
}

QLabel* makeStatusPanel(QWidget* parent, const char* name, const char* text)
{
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

} // namespace

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

LinkLabel::LinkLabel(const QString& caption, QWidget* parent)
    : ClickLabel(caption, parent)
{
    setProperty("link", true);
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    // The label opens its own address; an empty one opens nothing.
    connect(this, &ClickLabel::clicked, this, [this] {
        if (!URL.isEmpty())
            QDesktopServices::openUrl(QUrl::fromEncoded(URL));
    });
}

BannerPlacement centredBanner(int panelWidth, int panelHeight, int bannerWidth, int bannerHeight)
{
    return {panelWidth / 2 - bannerWidth / 2, panelHeight / 2 - bannerHeight / 2};
}

TfrmMain::TfrmMain(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frmMain");
    buildWindow();
    FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::buildWindow()
{
    setWindowTitle("Keyword Zanthe");
    endpoints = Endpoints::fromEnvironment();
    msgMain = new SkinMessage(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // The window may be made as small as the user likes.
    column->setSizeConstraint(QLayout::SetNoConstraint);

    // Button bar.
    bsSkinPanel1 = makePanel(this, "bsSkinPanel1", false);
    bsSkinPanel1->setFixedHeight(33);
    btnMainKeyword = makeButton(bsSkinPanel1, "btnMainKeyword", "Main Keyword", 7, 99);
    btnGatherKeyword = makeButton(bsSkinPanel1, "btnGatherKeyword", "Gather Keywords", 109, 98);
    btnAddKeyword = makeButton(bsSkinPanel1, "btnAddKeyword", "Add Keywords", 210, 99);
    btnGatherData = makeButton(bsSkinPanel1, "btnGatherData", "Gather Data", 312, 98);
    btnSaveResults = makeButton(bsSkinPanel1, "btnSaveResults", "Save Results", 414, 98);
    btnHelp = makeButton(bsSkinPanel1, "btnHelp", "Help", 516, 98);
    btnUpdate = makeButton(bsSkinPanel1, "btnUpdate", "Check Updates", 618, 99);
    btnMakeMoney = makeButton(bsSkinPanel1, "btnMakeMoney", "Make Money", 721, 98);
    for (QPushButton* b : bsSkinPanel1->findChildren<QPushButton*>())
        b->setFocusPolicy(Qt::NoFocus);
    column->addWidget(bsSkinPanel1);

    // Banner area: the two banners lie on top of each other.
    panBanner = makePanel(this, "panBanner", true);
    panBanner->setFixedHeight(65);
    imgBanner = new ClickLabel(panBanner);
    imgBanner->setObjectName("imgBanner");
    imgBanner->setGeometry(144, -8, 105, 105);
    gifBanner = new ClickLabel(panBanner);
    gifBanner->setObjectName("gifBanner");
    gifBanner->setGeometry(280, 0, 98, 140);
    column->addWidget(panBanner);

    // Table area.
    bsSkinPanel3 = makePanel(this, "bsSkinPanel3", false);
    auto* tableLayout = new QVBoxLayout(bsSkinPanel3);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    items = new KeywordTableModel(this);
    lvwItems = new QTableView(bsSkinPanel3);
    lvwItems->setObjectName("lvwItems");
    lvwItems->setModel(items);
    lvwItems->setShowGrid(true);
    lvwItems->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwItems->setSortingEnabled(false);
    lvwItems->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::SelectedClicked);
    lvwItems->setWordWrap(false);
    lvwItems->verticalHeader()->hide();
    // Fixed row heights keep a million rows cheap to lay out and scroll.
    lvwItems->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lvwItems->verticalHeader()->setDefaultSectionSize(20);
    lvwItems->horizontalHeader()->setSectionsClickable(true);
    lvwItems->horizontalHeader()->setHighlightSections(false);
    lvwItems->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int widths[] = {49, 132, 132, 104, 104, 104};
    for (int c = 0; c < KeywordTableModel::ColumnCount; ++c)
        lvwItems->setColumnWidth(c, widths[c]);
    connect(lvwItems->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TfrmMain::lvwItemsColumnClick);
    tableLayout->addWidget(lvwItems);
    column->addWidget(bsSkinPanel3, 1);

    // Bottom bar.
    bsSkinPanel4 = makePanel(this, "bsSkinPanel4", true);
    bsSkinPanel4->setFixedHeight(54);
    bsSkinButton1 = makeButton(bsSkinPanel4, "bsSkinButton1", "Select All", 9, 100);
    bsSkinButton2 = makeButton(bsSkinPanel4, "bsSkinButton2", "Clear Selection", 112, 100);
    bsSkinButton3 = makeButton(bsSkinPanel4, "bsSkinButton3", "Delete Selected", 215, 100);
    bsSkinButton4 = makeButton(bsSkinPanel4, "bsSkinButton4", "Delete All", 319, 99);
    lblLink1URL = new LinkLabel("Google", bsSkinPanel4);
    lblLink1URL->setObjectName("lblLink1URL");
    lblLink1URL->URL = "http://www.google.com/";
    lblLink1URL->move(13, 32);
    lblLink1URL->adjustSize();
    lblLink2URL = new LinkLabel("Google", bsSkinPanel4);
    lblLink2URL->setObjectName("lblLink2URL");
    lblLink2URL->URL = "http://www.google.com/";
    lblLink2URL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblLink2URL->adjustSize();
    lblLink2URL->move(781, 32);
    column->addWidget(bsSkinPanel4);

    // Status bar.
    bsSkinStatusBar1 = makePanel(this, "bsSkinStatusBar1", false);
    bsSkinStatusBar1->setFixedHeight(17);
    auto* status = new QHBoxLayout(bsSkinStatusBar1);
    status->setContentsMargins(0, 0, 0, 0);
    status->setSpacing(0);
    MainStatusPanel = makeStatusPanel(bsSkinStatusBar1, "MainStatusPanel", "");
    MainStatusPanel->setMinimumWidth(1);
    bsSkinStatusPanel1 = makeStatusPanel(bsSkinStatusBar1, "bsSkinStatusPanel1", "Main Keyword: ");
    bsSkinStatusPanel1->setFixedWidth(160);
    SecondStatusPanel =
        makeStatusPanel(bsSkinStatusBar1, "SecondStatusPanel", InitialItemCountText);
    // 82 at the design font; wider when this font needs it for six digits.
    SecondStatusPanel->setFixedWidth(
        qMax(82, SecondStatusPanel->fontMetrics().horizontalAdvance("000000 items listed") + 8));
    MainGauge = new QProgressBar(bsSkinStatusBar1);
    MainGauge->setObjectName("MainGauge");
    MainGauge->setRange(0, 100);
    MainGauge->setValue(0);
    MainGauge->setTextVisible(true);
    MainGauge->setFormat("%p%");
    MainGauge->setFixedWidth(130);
    status->addWidget(MainStatusPanel, 1);
    status->addWidget(bsSkinStatusPanel1);
    status->addWidget(SecondStatusPanel);
    status->addWidget(MainGauge);
    column->addWidget(bsSkinStatusBar1);

    connect(btnMainKeyword, &QPushButton::clicked, this, &TfrmMain::btnMainKeywordClick);
    connect(btnGatherKeyword, &QPushButton::clicked, this, &TfrmMain::btnGatherKeywordClick);
    connect(btnAddKeyword, &QPushButton::clicked, this, &TfrmMain::btnAddKeywordClick);
    connect(btnGatherData, &QPushButton::clicked, this, &TfrmMain::btnGatherDataClick);
    connect(btnSaveResults, &QPushButton::clicked, this, &TfrmMain::btnSaveResultsClick);
    connect(btnHelp, &QPushButton::clicked, this, &TfrmMain::btnHelpClick);
    connect(btnUpdate, &QPushButton::clicked, this, &TfrmMain::btnUpdateClick);
    connect(btnMakeMoney, &QPushButton::clicked, this, &TfrmMain::btnMakeMoneyClick);
    connect(bsSkinButton1, &QPushButton::clicked, this, &TfrmMain::bsSkinButton1Click);
    connect(bsSkinButton2, &QPushButton::clicked, this, &TfrmMain::bsSkinButton2Click);
    connect(bsSkinButton3, &QPushButton::clicked, this, &TfrmMain::bsSkinButton3Click);
    connect(bsSkinButton4, &QPushButton::clicked, this, &TfrmMain::bsSkinButton4Click);
    connect(imgBanner, &ClickLabel::clicked, this, &TfrmMain::imgBannerClick);
    connect(gifBanner, &ClickLabel::clicked, this, &TfrmMain::gifBannerClick);

    createHttpClient();

    resize(833, 516);
    dialogparts::centreOnScreen(this);
}

void TfrmMain::FormCreate()
{
    gifBanner->setGeometry(imgBanner->x(), imgBanner->y(), imgBanner->width(), imgBanner->height());
    SortColumn = -1;
    SortAscending = true;
    LoadBranding(this);
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmMain::FormShow()
{
    centreBanners();
    placeLink2();
}

void TfrmMain::FormResize()
{
    // The layout gives the panels their new size only when it is activated;
    // do that first so the centring reads the current banner area.
    if (layout())
        layout()->activate();
    centreBanners();
    placeLink2();
}

void TfrmMain::centreBanners()
{
    const BannerPlacement img = centredBanner(panBanner->width(), panBanner->height(),
                                              imgBanner->width(), imgBanner->height());
    imgBanner->move(img.left, img.top);
    const BannerPlacement gif = centredBanner(panBanner->width(), panBanner->height(),
                                              gifBanner->width(), gifBanner->height());
    gifBanner->move(gif.left, gif.top);
}

void TfrmMain::placeLink2()
{
    // Right-aligned label kept at the bar's right edge (design: 13 pixels in).
    lblLink2URL->adjustSize();
    lblLink2URL->move(bsSkinPanel4->width() - 13 - lblLink2URL->width(), 32);
}

void TfrmMain::setMainStatus(const QByteArray& text)
{
    MainStatusPanel->setText(toDisplay(text));
}

void TfrmMain::setItemCountText(const QByteArray& text)
{
    SecondStatusPanel->setText(toDisplay(text));
}

// --- Table buttons -------------------------------------------------------

void TfrmMain::bsSkinButton1Click()
{
    items->setAllChecked(true);
}

void TfrmMain::bsSkinButton2Click()
{
    items->setAllChecked(false);
}

void TfrmMain::bsSkinButton3Click()
{
    const int answer =
        msgMain->MessageDlg(QByteArray("Are you sure do you want to delete the selected keywords?"),
                            SkinMessage::Kind::Information, SkinMessage::Buttons::OkCancel);
    if (answer == SkinMessage::ResultOk)
        items->removeChecked();
    setItemCountText(itemsListedText(items->count()));
}

void TfrmMain::bsSkinButton4Click()
{
    const int answer =
        msgMain->MessageDlg(QByteArray("Are you sure do you want to delete all?"),
                            SkinMessage::Kind::Information, SkinMessage::Buttons::OkCancel);
    if (answer == SkinMessage::ResultOk)
        items->clear();
    setItemCountText(itemsListedText(items->count()));
}

// --- Run guards ----------------------------------------------------------

namespace {
constexpr const char* GatherDataCaption = "Gather Data";
constexpr const char* StopCaption = "Stop";
} // namespace

bool TfrmMain::showsStop() const
{
    return btnGatherData->text() == StopCaption;
}

void TfrmMain::showGatherDataRunning(bool running)
{
    btnGatherData->setText(running ? StopCaption : GatherDataCaption);
    // The style sheet colours the button while a count run is under way.
    btnGatherData->setProperty("running", running);
    btnGatherData->style()->unpolish(btnGatherData);
    btnGatherData->style()->polish(btnGatherData);
}

void TfrmMain::beginRun(Run run)
{
    m_run = run;
    if (run == Run::Counts)
        showGatherDataRunning(true);
    // Rows must stay where a running loop expects them, and only one
    // download may use the client at a time.
    for (QPushButton* b : {btnMainKeyword, btnGatherKeyword, btnAddKeyword, btnSaveResults,
                           btnUpdate, bsSkinButton3, bsSkinButton4})
        b->setEnabled(false);
    btnGatherData->setEnabled(run == Run::Counts);
    lvwItems->horizontalHeader()->setSectionsClickable(false);
}

void TfrmMain::endRun()
{
    m_run = Run::None;
    showGatherDataRunning(false);
    for (QPushButton* b : {btnMainKeyword, btnGatherKeyword, btnAddKeyword, btnGatherData,
                           btnSaveResults, btnUpdate, bsSkinButton3, bsSkinButton4})
        b->setEnabled(true);
    lvwItems->horizontalHeader()->setSectionsClickable(true);
    // A close asked for during the run (closeEvent) happens once it has returned.
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

} // namespace zanthe
