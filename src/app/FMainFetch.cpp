// Page fetcher and the search-count run.
#include "FMain.h"

#include <QCloseEvent>

namespace zanthe {

void TfrmMain::createHttpClient() {}
bool TfrmMain::DownloadPage(const QByteArray& /*url*/, QByteArray& /*page*/)
{
    return false;
}
void TfrmMain::IdHTTP1WorkBegin(qint64 /*total*/) {}
void TfrmMain::IdHTTP1Work(qint64 /*countSoFar*/) {}
void TfrmMain::IdHTTP1WorkEnd() {}
void TfrmMain::btnGatherDataClick() {}
void TfrmMain::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
}

} // namespace zanthe
