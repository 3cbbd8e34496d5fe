// Keyword suggestion run.
#include "FMain.h"

namespace zanthe {

void TfrmMain::btnGatherKeywordClick() {}

} // namespace zanthe
