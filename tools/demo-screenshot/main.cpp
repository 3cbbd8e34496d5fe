// Takes the README's screenshot: starts the demo service, runs a whole demo
// session in a real window (main keyword, Gather Keywords with the security
// image answered, Gather Data precise, sort by Google descending, Save
// Results) and saves the window as a PNG. scripts/screenshot.sh runs it
// under Xvfb.
#include "DemoSession.h"
#include "app/ErrorReport.h"
#include "app/FMain.h"
#include "app/Look.h"
#include "outside/ProgramFolder.h"
#include "table/KeywordTableModel.h"

#include <QDeadlineTimer>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdio>

using namespace zanthe;

namespace {

int failed(const QString& why)
{
    std::fprintf(stderr, "zanthe-demo-screenshot: %s\n", qPrintable(why));
    return 1;
}

// Lets the window come up and paint what it holds.
void settle(QWidget& window, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired() && !(window.windowHandle() && window.windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    ZantheApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("keyword-zanthe"));
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "Usage: zanthe-demo-screenshot OUTPUT.png\n"
                             "Runs a demo session against zanthe-demo-service (a test and demo\n"
                             "tool) and saves a picture of the main window.\n");
        return 2;
    }
    applyStyleSheet(builtInStyleSheet());

    demo::ServiceProcess service;
    if (!service.start(QStringLiteral(ZANTHE_DEMO_SERVICE), {QStringLiteral("--reveal-answers")}))
        return failed(service.error());
    demo::pointProgramAt(service.baseUrl());
    // Scratch page and results file stay out of the build tree; no branding
    // file there, so the picture shows the program's own look.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return failed(QStringLiteral("no temporary folder"));
    setProgramFolder(scratch.path());

    TfrmMain window;
    window.show();
    settle(window, 5000);

    demo::DemoSession session(window);
    if (!session.run("golf clubs", false, scratch.filePath(QStringLiteral("results.csv"))))
        return failed(session.error());
    settle(window, 0);

    const QPixmap picture = window.grab();
    if (picture.isNull() || !picture.save(arguments.at(1), "PNG"))
        return failed(QStringLiteral("cannot write ") + arguments.at(1));
    std::printf("Saved %s (%dx%d), %d rows.\n", qPrintable(arguments.at(1)), picture.width(),
                picture.height(), int(window.items->count()));
    return 0;
}
