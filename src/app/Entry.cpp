#include "Entry.h"

#include "ErrorReport.h"
#include "FMain.h"
#include "Look.h"

namespace zanthe {

int runProgram(int argc, char** argv)
{
    ZantheApplication app(argc, argv);
    app.setApplicationName("keyword-zanthe");
    app.setApplicationDisplayName("Keyword Zanthe");
    applyStyleSheet(builtInStyleSheet());
    TfrmMain frmMain;
    frmMain.show();
    return app.exec();
}

} // namespace zanthe
