// Page fetcher and the search-count run.
#include "FMain.h"

#include "MessageBox.h"
#include "ModalSeam.h"
#include "dialogs/FSelectSearch.h"
#include "research/SearchCounts.h"
#include "table/KeywordTableModel.h"
#include "web/PageFetcher.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include <limits>

namespace zanthe {

namespace {

int gaugeUnits(qint64 bytes)
{
    return static_cast<int>(qBound(qint64(0), bytes, qint64(std::numeric_limits<int>::max())));
}

} // namespace

// --- Page fetcher ----------------------------------------------------------

void TfrmMain::createHttpClient()
{
    IdHTTP1 = new PageFetcher(this);
    IdHTTP1->setObjectName("IdHTTP1");
    connect(IdHTTP1, &PageFetcher::WorkBegin, this, &TfrmMain::IdHTTP1WorkBegin);
    connect(IdHTTP1, &PageFetcher::Work, this, &TfrmMain::IdHTTP1Work);
    connect(IdHTTP1, &PageFetcher::WorkEnd, this, &TfrmMain::IdHTTP1WorkEnd);
}

bool TfrmMain::DownloadPage(const QByteArray& url, QByteArray& page)
{
    if (Aborted)
        return false;
    // Two fetches never share the client or the scratch file; the run guards
    // keep this from happening, so a nested call is simply refused.
    if (IdHTTP1->isBusy())
        return false;
    page.clear();

    ScratchFile scratch = createScratchFile();
    if (!scratch.isOpen()) {
        // Ends the calling run like a connection error, naming file and reason.
        Aborted = true;
        IdHTTP1->Disconnect();
        setMainStatus(scratch.error());
        return false;
    }

    const QPointer<TfrmMain> alive(this);
    setMainStatus("Getting URL: " + url + "...");
    MainGauge->setValue(0);
    QCoreApplication::processEvents(); // paint the status before the wait
    if (!alive)
        return false;
    if (Aborted) {
        // Stopped before the request went out. Sent anyway, a silent server
        // would hold the run with the Stop button already used up.
        scratch.close();
        setMainStatus("Process aborted!");
        return false;
    }

    const bool arrived = IdHTTP1->Get(url, scratch.device());
    if (!alive)
        return false;
    scratch.close();
    IdHTTP1->Disconnect();

    if (arrived && Aborted) {
        // Stopped, but the transfer still ended normally.
        setMainStatus("Process aborted!");
        return false;
    }
    if (arrived) {
        PageReadBack readBack = readScratchFile(scratch.fileName());
        if (readBack.ok) {
            page = std::move(readBack.page);
            setMainStatus("Process completed sucessfull!");
            return true;
        }
    }
    Aborted = true;
    IdHTTP1->Disconnect();
    setMainStatus("Connection error, check if you are connected and url exists.");
    return false;
}

void TfrmMain::IdHTTP1WorkBegin(qint64 total)
{
    // Without an announced size the gauge shows that something moves.
    MainGauge->setRange(0, gaugeUnits(total));
    MainGauge->setValue(0);
    QCoreApplication::processEvents();
}

void TfrmMain::IdHTTP1Work(qint64 countSoFar)
{
    // A stop request cuts the transfer at every progress event it sees.
    if (Aborted)
        IdHTTP1->Disconnect();
    const int maximum = MainGauge->maximum();
    MainGauge->setValue(maximum > 0 ? qMin(gaugeUnits(countSoFar), maximum) : 0);
    QCoreApplication::processEvents();
}

void TfrmMain::IdHTTP1WorkEnd()
{
    if (MainGauge->maximum() == 0)
        MainGauge->setRange(0, 100);
    MainGauge->setValue(MainGauge->maximum());
    QCoreApplication::processEvents();
}

// --- Gather Data -----------------------------------------------------------

void TfrmMain::btnGatherDataClick()
{
    if (items->count() == 0) {
        msgMain->MessageDlg(QByteArray("You need add keywords to gather data from search engines."),
                            SkinMessage::Kind::Information, SkinMessage::Buttons::Ok);
        return;
    }
    if (showsStop()) {
        // Stop: the run ends at its next test of the flag.
        Aborted = true;
        IdHTTP1->Disconnect();
        showGatherDataRunning(false);
        // Clicks queued behind this one must not start a run inside the one
        // that is still returning.
        btnGatherData->setEnabled(false);
        return;
    }
    if (currentRun() != Run::None)
        return; // a run has not returned yet

    TfrmSelSearch dialog(this);
    if (execModal(&dialog) != QDialog::Accepted)
        return;
    // Only the first box counts: both ticked is precise, neither is broad.
    BroadSearch = dialog.bsSkinCheckRadioBox1->isChecked() ? 0 : 1;

    // "Stop" caption on; header clicks and table-changing controls off.
    const RunScope scope(*this, Run::Counts);
    Aborted = false;
    const QPointer<TfrmMain> alive(this);

    SearchCountRun run;
    run.endpoints = endpoints;
    run.broadSearch = BroadSearch != 0;
    run.fetch = [this, alive](const QByteArray& url, QByteArray& page) {
        return alive && DownloadPage(url, page);
    };
    run.aborted = [this, alive] { return !alive || Aborted; };
    run.pump = [] { QCoreApplication::processEvents(); };
    CollectSearchCounts(*items, run);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (currentRun() == Run::None) {
        QWidget::closeEvent(event);
        return;
    }
    // Closing now would quit the application under the running fetch: stop
    // the run instead, and close once it has returned (endRun).
    Aborted = true;
    IdHTTP1->Disconnect();
    m_closeAfterRun = true;
    event->ignore();
}

} // namespace zanthe
