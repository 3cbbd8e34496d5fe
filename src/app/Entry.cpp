#include "Entry.h"

#include "ErrorReport.h"
#include "FMain.h"
#include "Look.h"

#include <QIcon>

namespace zanthe {

int runProgram(int argc, char** argv)
{
    ZantheApplication app(argc, argv);
    app.setApplicationName("keyword-zanthe");
    app.setDesktopFileName("keyword-zanthe");
    // The installed theme icon; branding may replace it.
    app.setWindowIcon(QIcon::fromTheme("keyword-zanthe"));
    applyStyleSheet(builtInStyleSheet());
    TfrmMain frmMain;
    frmMain.show();
    return app.exec();
}

} // namespace zanthe
