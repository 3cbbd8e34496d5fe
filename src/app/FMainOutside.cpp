// Outside links and the update hand-off.
#include "FMain.h"

namespace zanthe {

void TfrmMain::btnHelpClick() {}
void TfrmMain::btnUpdateClick() {}
void TfrmMain::btnMakeMoneyClick() {}
void TfrmMain::imgBannerClick() {}
void TfrmMain::gifBannerClick() {}

} // namespace zanthe
