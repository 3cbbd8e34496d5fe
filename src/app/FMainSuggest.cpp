// Keyword suggestion run.
#include "FMain.h"

#include "MessageBox.h"
#include "ModalSeam.h"
#include "dialogs/FCaptcha.h"
#include "research/Suggestions.h"
#include "table/KeywordTableModel.h"

#include <memory>

namespace zanthe {

namespace {

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
