// Fetches one page many times from a loopback server, first through the main
// window's DownloadPage, then with libcurl (a new connection per fetch, the
// body written to a file), and prints both times and their ratio.
//
//   zanthe-fetch-bench [fetches] [page bytes]      (defaults: 3000, 20480)
#include "app/FMain.h"
#include "app/Look.h"
#include "outside/ProgramFolder.h"

#include <curl/curl.h>
#include <httplib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <thread>

namespace {

std::string makePage(int size)
{
    // Lines of HTML-like text, so the read-back has line ends to convert.
    std::string page;
    page.reserve(size);
    int line = 0;
    while (static_cast<int>(page.size()) < size) {
        page += "<tr><td>keyword number " + std::to_string(line++) + "</td><td>12,345</td></tr>\n";
    }
    page.resize(size);
    return page;
}

size_t toFile(char* data, size_t size, size_t count, void* file)
{
    return std::fwrite(data, size, count, static_cast<FILE*>(file));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zanthe::applyStyleSheet(zanthe::builtInStyleSheet()); // the program's own look
    const int fetches = argc > 1 ? std::atoi(argv[1]) : 3000;
    const int size = argc > 2 ? std::atoi(argv[2]) : 20480;
    if (fetches <= 0 || size <= 0) {
        std::fprintf(stderr, "usage: %s [fetches] [page bytes]\n", argv[0]);
        return 2;
    }

    const std::string body = makePage(size);
    httplib::Server server;
    server.Get("/page", [&body](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "text/html");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serverThread([&server] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/page";

    QTemporaryDir folder;
    zanthe::setProgramFolder(folder.path());
    int failures = 0;

    // DownloadPage, in a shown window, one fetch after another.
    qint64 ownMs = 0;
    {
        zanthe::TfrmMain window;
        window.show();
        QApplication::processEvents();
        const QByteArray address = QByteArray::fromStdString(url);
        QByteArray page;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < fetches; ++i) {
            window.Aborted = false;
            if (!window.DownloadPage(address, page) || page.size() < size)
                ++failures;
        }
        ownMs = clock.elapsed();
    }

    // libcurl, a new connection each time, the body written to a file.
    qint64 curlMs = 0;
    {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        const std::string path = folder.filePath("curl.html").toStdString();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < fetches; ++i) {
            FILE* file = std::fopen(path.c_str(), "wb");
            CURL* curl = curl_easy_init();
            curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
            curl_easy_setopt(curl, CURLOPT_PROXY, "");
            curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
            curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, toFile);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
            long status = 0;
            if (curl_easy_perform(curl) != CURLE_OK ||
                curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
                status != 200)
                ++failures;
            curl_easy_cleanup(curl);
            std::fclose(file);
        }
        curlMs = clock.elapsed();
        curl_global_cleanup();
    }

    server.stop();
    serverThread.join();

    std::printf("fetches: %d of %d bytes each\n", fetches, size);
    std::printf("DownloadPage: %lld ms (%.3f ms per fetch)\n", static_cast<long long>(ownMs),
                double(ownMs) / fetches);
    std::printf("libcurl:      %lld ms (%.3f ms per fetch)\n", static_cast<long long>(curlMs),
                double(curlMs) / fetches);
    std::printf("ratio:        %.2f\n", curlMs > 0 ? double(ownMs) / double(curlMs) : 0.0);
    if (failures > 0)
        std::printf("failed fetches: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
