// Keyword suggestion run.
#include "FMain.h"

#include "MessageBox.h"
#include "ModalSeam.h"
#include "dialogs/FCaptcha.h"
#include "research/Suggestions.h"
#include "table/KeywordTableModel.h"

#include <QPointer>

#include <memory>

namespace zanthe {

namespace {

// Holds the run's guards for as long as the handler runs, so the controls
// come back however the run ends, an escaping error included.
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

struct ChallengeAnswer {
    QByteArray password;
    QByteArray randomValue;
    QByteArray seedValue;
};

// Shows a fresh security-image dialog for one challenge page. False when the
// user gave up. The dialog belongs to the run, not to the window, and is gone
// before the answer is sent.
bool askChallenge(TfrmMain& window, const QByteArray& page, ChallengeAnswer& answer)
{
    auto dialog = std::make_unique<TfrmCaptcha>(window.msgMain, window.endpoints.suggest);
    dialog->PageHtml = page;
    if (execModal(dialog.get()) != TfrmCaptcha::mrOk)
        return false;
    answer = {dialog->password(), dialog->RandomValue, dialog->SeedValue};
    return true;
}

} // namespace

void TfrmMain::btnGatherKeywordClick()
{
    // One run at a time: the buttons are off during a run; this covers a
    // click that arrives some other way.
    if (currentRun() != Run::None)
        return;
    Aborted = false;
    if (MainKeyword.isEmpty()) {
        msgMain->MessageDlg(QByteArray("Please enter a main keyword before gather keywords."),
                            SkinMessage::Kind::Information, SkinMessage::Buttons::Ok);
        return;
    }
    RunScope run(*this, Run::Suggestions);

    QByteArray page;
    if (!DownloadPage(suggestionRequestUrl(endpoints.suggest, MainKeyword), page))
        return;
    while (isChallengePage(page)) {
        ChallengeAnswer answer;
        if (!askChallenge(*this, page, answer) || !run.windowAlive())
            return;
        // A failed fetch has nothing to parse. Ending here also covers a
        // fetch refused because the run was stopped, which leaves the old
        // challenge page in hand and would otherwise ask again and again.
        if (!DownloadPage(answerRequestUrl(endpoints.suggest, answer.password, answer.randomValue,
                                           answer.seedValue),
                          page) ||
            !run.windowAlive())
            return;
        if (isChallengePage(page) &&
            msgMain->MessageDlg(QByteArray("Wrong password. Do you want try again?"),
                                SkinMessage::Kind::Information,
                                SkinMessage::Buttons::OkCancel) == SkinMessage::ResultCancel)
            return;
    }
    ParseSuggestionTable(page, *items,
                         [this](int rowCount) { setItemCountText(itemsListedText(rowCount)); });
}

} // namespace zanthe
