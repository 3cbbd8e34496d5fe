// Outside links and the update hand-off.
#include "FMain.h"

#include "MessageBox.h"
#include "outside/Browser.h"
#include "outside/ProgramConstants.h"
#include "outside/Updater.h"

namespace zanthe {

void TfrmMain::btnHelpClick()
{
    OpenInBrowser(HelpPageUrl);
}

void TfrmMain::btnMakeMoneyClick()
{
    OpenInBrowser(makeMoneyAddress(AffiliateId));
}

void TfrmMain::imgBannerClick()
{
    if (!BannerUrl.isEmpty())
        OpenInBrowser(BannerUrl);
}

void TfrmMain::gifBannerClick()
{
    if (!BannerUrl.isEmpty())
        OpenInBrowser(BannerUrl);
}

void TfrmMain::btnUpdateClick()
{
    if (!updaterPresent()) {
        msgMain->MessageDlg(QByteArray("The updater module is missing. Please reinstall again the "
                                       "current version!"),
                            SkinMessage::Kind::Warning, SkinMessage::Buttons::Ok);
        return;
    }
    const int answer = msgMain->MessageDlg(
        QByteArray("To update your software the application will close to\n\rreplace some files. "
                   "Do you want to update now?"),
        SkinMessage::Kind::Information, SkinMessage::Buttons::OkCancel);
    if (answer == SkinMessage::ResultCancel)
        return;
    // Closing is what the user agreed to; whether the updater came up is
    // not checked, as it runs on its own from here.
    startUpdater();
    close();
}

} // namespace zanthe
