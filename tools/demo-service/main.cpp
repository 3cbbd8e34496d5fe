#include "DemoService.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdio>
#include <httplib.h>

namespace {

constexpr char Description[] =
    "zanthe-demo-service: a TEST AND DEMO TOOL, not part of Keyword Zanthe.\n"
    "\n"
    "It stands in for the outside services the program talks to, so that the\n"
    "program can be tried and tested without a network. It listens on\n"
    "127.0.0.1 only and answers with made-up data:\n"
    "  /suggest   keyword suggestions, behind a security-image challenge\n"
    "  /google    Google web search result counts\n"
    "  /yahoo     Yahoo web search result counts\n"
    "  /msn       MSN web search result counts\n"
    "Point the program at it with ZANTHE_SUGGEST_URL=http://127.0.0.1:PORT/suggest\n"
    "and ZANTHE_GOOGLE_URL, ZANTHE_YAHOO_URL, ZANTHE_MSN_URL likewise.\n"
    "Counts are derived from the query, so every run gives the same numbers.";

} // namespace

int main(int argc, char** argv)
{
    // Fonts for the challenge image need the GUI module, but the service
    // never shows a window, so it never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zanthe-demo-service"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    parser.addHelpOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("Port to listen on; 0 (the default) takes any free port. The address "
                       "is printed on the first line of standard output."),
        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption revealOption(
        QStringLiteral("reveal-answers"),
        QStringLiteral("For automated tests only: send the challenge answer in an X-Demo-Answer "
                       "response header with every challenge page and challenge image (never "
                       "in a page body)."));
    parser.addOption(portOption);
    parser.addOption(revealOption);
    parser.process(app);

    bool valid = false;
    const int port = parser.value(portOption).toInt(&valid);
    if (!valid || port < 0 || port > 65535) {
        std::fprintf(stderr, "zanthe-demo-service: --port wants a number from 0 to 65535\n");
        return 2;
    }

    httplib::Server server;
    const int bound = port == 0 ? server.bind_to_any_port("127.0.0.1")
                                : (server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        std::fprintf(stderr, "zanthe-demo-service: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    zanthe::demo::DemoService service(parser.isSet(revealOption), bound);
    service.attach(server);

    std::printf("zanthe-demo-service listening on http://127.0.0.1:%d\n", bound);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
