// Keyword entry, list import, column sorting and export handlers.
#include "FMain.h"

namespace zanthe {

void TfrmMain::btnMainKeywordClick() {}
void TfrmMain::btnAddKeywordClick() {}
void TfrmMain::LoadKeywordFile(const QByteArray& /*fileName*/) {}
void TfrmMain::btnSaveResultsClick() {}
void TfrmMain::ExportResults() {}
void TfrmMain::lvwItemsColumnClick(int /*column*/) {}

} // namespace zanthe
