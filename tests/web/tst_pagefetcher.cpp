#include "LoopbackHttp.h"
#include "NoPlaceForFiles.h"
#include "TestSupport.h"

#include "app/FMain.h"
#include "outside/ProgramFolder.h"
#include "web/PageFetcher.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zanthe;
using zanthe::test::LoopbackHttp;

namespace {

const QByteArray ConnectionError = "Connection error, check if you are connected and url exists.";

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray status(const TfrmMain& w)
{
    return w.MainStatusPanel->text().toUtf8();
}

} // namespace

class TestPageFetcher final : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    QString scratchPath() const { return m_dir->filePath("test.html"); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        setProgramFolder(m_dir->path());
    }
    void cleanup() { setProgramFolder({}); }

    void completedFetch()
    {
        LoopbackHttp server;
        server.page("/page", "<html>\nfirst page\n</html>");
        server.page("/short", "x");
        TfrmMain w;
        QByteArrayList statusDuringFetch;
        connect(w.IdHTTP1, &PageFetcher::WorkBegin, this, [&] { statusDuringFetch << status(w); });

        // The query goes out exactly as built: no second encoding, no "+"
        // turned into a blank.
        const QByteArray url = server.base() + "/page?q=%22c%2B%2B+%26+co%22&x=%C3%A9~";
        QByteArray page = "left over";
        QVERIFY(w.DownloadPage(url, page));
        QCOMPARE(page, QByteArray("<html>\r\nfirst page\r\n</html>\r\n"));
        QCOMPARE(status(w), QByteArray("Process completed sucessfull!"));
        QCOMPARE(statusDuringFetch, QByteArrayList{"Getting URL: " + url + "..."});
        QVERIFY(!w.Aborted);
        QCOMPARE(w.MainGauge->value(), w.MainGauge->maximum());
        QCOMPARE(fileBytes(scratchPath()), QByteArray("<html>\nfirst page\n</html>"));

        const QList<LoopbackHttp::Seen> seen = server.requests();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].target, QByteArray("/page?q=%22c%2B%2B+%26+co%22&x=%C3%A9~"));
        QCOMPARE(seen[0].header("Accept"), QByteArray("text/html, */*"));
        QCOMPARE(seen[0].header("Content-Type"), QByteArray("text/html"));
        QCOMPARE(seen[0].header("User-Agent"),
                 QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
        QCOMPARE(seen[0].header("Connection").toLower(), QByteArray("close"));
        // Loopback is never proxied, so only the setting can show that the
        // environment's http_proxy is not followed to other hosts.
        QCOMPARE(w.IdHTTP1->manager()->proxy().type(), QNetworkProxy::NoProxy);

        // The next fetch rewrites the scratch file and uses a new connection.
        QVERIFY(w.DownloadPage(server.base() + "/short", page));
        QCOMPARE(page, QByteArray("x\r\n"));
        QCOMPARE(fileBytes(scratchPath()), QByteArray("x"));
        QCOMPARE(server.requests().size(), 2);
        QVERIFY(server.requests()[1].remotePort != seen[0].remotePort);
    }

    void pageText_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("bare LF") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("no final line end") << QByteArray("a\nb") << QByteArray("a\r\nb\r\n");
        QTest::newRow("lone CR") << QByteArray("a\rb") << QByteArray("a\r\nb\r\n");
        QTest::newRow("LF CR is two line ends")
            << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb\r\n");
        QTest::newRow("cut at NUL")
            << QByteArray("ab\ncd\0ef\ngh", 11) << QByteArray("ab\r\ncd\r\n");
        QTest::newRow("NUL first") << QByteArray("\0abc", 4) << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("bytes unchanged")
            << QByteArray("caf\xe9 \xc3\xa9\t<b>") << QByteArray("caf\xe9 \xc3\xa9\t<b>\r\n");
    }
    void pageText()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, page);
        LoopbackHttp server;
        server.page("/p", body);
        TfrmMain w;
        QByteArray got = "old";
        QVERIFY(w.DownloadPage(server.base() + "/p", got));
        QCOMPARE(got, page);
        QCOMPARE(status(w), QByteArray("Process completed sucessfull!"));
        // The scratch file holds the raw body.
        QCOMPARE(fileBytes(scratchPath()), body);
    }

    void failure_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("404 answer") << 0;
        QTest::newRow("connection refused") << 1;
        QTest::newRow("server error") << 2;
        QTest::newRow("address that is not one") << 3;
    }
    void failure()
    {
        QFETCH(int, kind);
        LoopbackHttp server;
        server.page("/gone", "not here", 404);
        server.page("/broken", "oops", 500);
        const QByteArray urls[] = {
            server.base() + "/gone",
            "http://127.0.0.1:" + QByteArray::number(test::closedPort()) + "/x",
            server.base() + "/broken",
            server.base() + "/bad%zzquery",
        };
        TfrmMain w;
        QByteArray page = "old";
        QVERIFY(!w.DownloadPage(urls[kind], page));
        QVERIFY(page.isEmpty());
        QCOMPARE(status(w), ConnectionError);
        QVERIFY(w.Aborted);
        QVERIFY(QFile::exists(scratchPath()));

        // The flag stays set: the next call is refused before anything happens.
        w.setMainStatus("unchanged");
        const int requests = server.requests().size();
        page = "kept";
        QVERIFY(!w.DownloadPage(server.base() + "/gone", page));
        QCOMPARE(page, QByteArray("kept"));
        QCOMPARE(status(w), QByteArray("unchanged"));
        QCOMPARE(server.requests().size(), requests);
    }

    void abortedCallTouchesNothing()
    {
        LoopbackHttp server;
        server.page("/p", "new");
        QFile old(scratchPath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("earlier page");
        old.close();
        TfrmMain w;
        w.Aborted = true;
        w.setMainStatus("before");
        w.MainGauge->setValue(42);
        QByteArray page = "caller's text";
        QVERIFY(!w.DownloadPage(server.base() + "/p", page));
        QCOMPARE(page, QByteArray("caller's text"));
        QCOMPARE(status(w), QByteArray("before"));
        QCOMPARE(w.MainGauge->value(), 42);
        QCOMPARE(fileBytes(scratchPath()), QByteArray("earlier page"));
        QVERIFY(w.Aborted);
        QVERIFY(server.requests().isEmpty());
    }

    void redirectAndCookies()
    {
        LoopbackHttp server;
        server.page("/start", "moved", 302,
                    {{"Location", "/final"}, {"Set-Cookie", "first=1; Path=/"}});
        server.page("/final", "final page", 200, {{"Set-Cookie", "second=2; Path=/"}});
        server.page("/next", "next page");
        TfrmMain w;
        QByteArray page;
        QVERIFY(w.DownloadPage(server.base() + "/start", page));
        QCOMPARE(page, QByteArray("final page\r\n"));
        QCOMPARE(fileBytes(scratchPath()), QByteArray("final page"));
        QVERIFY(w.DownloadPage(server.base() + "/next", page));

        const QList<LoopbackHttp::Seen> seen = server.requests();
        QCOMPARE(server.targets(), (QByteArrayList{"/start", "/final", "/next"}));
        // The followed request keeps the program's headers.
        QCOMPARE(seen[1].header("User-Agent"),
                 QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
        const QByteArray cookies = seen[2].header("Cookie");
        QVERIFY2(cookies.contains("first=1") && cookies.contains("second=2"), cookies);
    }

    // A stop request while the body arrives: what the window's Stop click
    // does (flag and Disconnect), or the flag alone, which the progress
    // handler acts on at the next progress event.
    void stopDuringTransfer_data()
    {
        QTest::addColumn<bool>("disconnect");
        QTest::addColumn<bool>("slow");
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<QByteArray>("expectedStatus");
        QTest::newRow("stop click, body still arriving") << true << true << 200 << ConnectionError;
        QTest::newRow("flag only, cut at next progress") << false << true << 200 << ConnectionError;
        QTest::newRow("stop click, body complete")
            << true << false << 200 << QByteArray("Process aborted!");
        // An error page is a failed fetch however its transfer ends.
        QTest::newRow("stop click, error page complete") << true << false << 404 << ConnectionError;
    }
    void stopDuringTransfer()
    {
        QFETCH(bool, disconnect);
        QFETCH(bool, slow);
        QFETCH(int, httpStatus);
        QFETCH(QByteArray, expectedStatus);
        LoopbackHttp server;
        server.slowPage("/slow", "first piece\n", "more\n", 100, 20);
        server.page("/whole", "whole body\n", httpStatus);
        TfrmMain w;
        bool nestedRefused = false;
        connect(w.IdHTTP1, &PageFetcher::Work, this, [&] {
            if (w.Aborted)
                return;
            // Two fetches never share the client.
            QBuffer other;
            other.open(QIODevice::WriteOnly);
            nestedRefused = !w.IdHTTP1->Get(server.base() + "/whole", &other);
            w.Aborted = true;
            if (disconnect)
                w.IdHTTP1->Disconnect();
        });
        QElapsedTimer clock;
        clock.start();
        QByteArray page = "old";
        QVERIFY(!w.DownloadPage(server.base() + (slow ? "/slow" : "/whole"), page));
        QVERIFY2(clock.elapsed() < 1500, "the stop did not end the transfer");
        QVERIFY(nestedRefused);
        QVERIFY(page.isEmpty());
        QVERIFY(w.Aborted);
        QCOMPARE(status(w), expectedStatus);
        // The scratch file holds what arrived.
        const QByteArray arrived = fileBytes(scratchPath());
        if (slow)
            QVERIFY2(arrived.startsWith("first piece\n") && arrived.size() < 12 + 5 * 10, arrived);
        else
            QCOMPARE(arrived, QByteArray("whole body\n"));
        QCOMPARE(server.requests().size(), 1);
    }

    // A stop request handled while the status is painted, before the request
    // goes out: nothing is sent, so a silent server cannot hold the run.
    void stopBeforeRequest()
    {
        LoopbackHttp server;
        server.slowPage("/silent", "", "", 0, 0);
        TfrmMain w;
        QTimer::singleShot(0, &w, [&] { w.Aborted = true; });
        QByteArray page = "old";
        QVERIFY(!w.DownloadPage(server.base() + "/silent", page));
        QVERIFY(page.isEmpty());
        QCOMPARE(status(w), QByteArray("Process aborted!"));
        QVERIFY(server.requests().isEmpty());
        QCOMPARE(fileBytes(scratchPath()), QByteArray());
    }

    // The application quitting ends every event loop, the fetcher's wait
    // included, while the reply still runs.
    void applicationQuitsDuringFetch()
    {
        LoopbackHttp server;
        server.slowPage("/slow", "first\n", "more\n", 100, 20);
        TfrmMain w;
        connect(w.IdHTTP1, &PageFetcher::Work, qApp, &QCoreApplication::quit);
        bool result = true;
        QByteArray page = "old";
        QTimer::singleShot(0, &w, [&] { result = w.DownloadPage(server.base() + "/slow", page); });
        QElapsedTimer clock;
        clock.start();
        qApp->exec();
        QVERIFY(clock.elapsed() < 1500);
        QVERIFY(!result);
        QVERIFY(page.isEmpty());
        QVERIFY(w.Aborted);
        QCOMPARE(status(w), ConnectionError);
        QVERIFY(!w.IdHTTP1->isBusy());
    }

    void scratchFilePlace()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath("plain-file");
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString program = dir.filePath("program");
        const QString cache = dir.filePath("cache/deeper");
        QVERIFY(QDir().mkpath(program));

        const auto at = [](const QString& folder) { return [folder] { return folder; }; };
        {
            ScratchFile s = createScratchFile(program, at(cache));
            QVERIFY(s.isOpen());
            QCOMPARE(s.fileName(), program + "/test.html");
            s.device()->write("a longer first page");
        }
        QCOMPARE(fileBytes(program + "/test.html"), QByteArray("a longer first page"));
        {
            // Made afresh: nothing of the earlier content stays.
            ScratchFile s = createScratchFile(program, at(cache));
            s.device()->write("short");
            s.close();
            QCOMPARE(fileBytes(program + "/test.html"), QByteArray("short"));
            s = createScratchFile(program, at(cache));
            s.device()->write("mid");
            s = createScratchFile(program, at(cache)); // closes the one before
            QCOMPARE(fileBytes(program + "/test.html"), QByteArray("mid"));
        }
        QCOMPARE(fileBytes(program + "/test.html"), QByteArray());
        {
            // A folder that cannot take the file: the cache folder instead.
            ScratchFile s = createScratchFile(blocker + "/sub", at(cache));
            QVERIFY(s.isOpen());
            QCOMPARE(s.fileName(), cache + "/test.html");
        }
        {
            ScratchFile s = createScratchFile(blocker + "/sub", at(blocker + "/cache"));
            QVERIFY(!s.isOpen());
            QVERIFY2(s.error().startsWith("Cannot create the scratch file"), s.error());
            QVERIFY2(s.error().contains((blocker + "/sub/test.html").toUtf8()), s.error());
            QVERIFY2(s.error().contains((blocker + "/cache/test.html").toUtf8()), s.error());
        }
    }

    // Neither the program's folder nor the cache folder can take the file:
    // the fetch fails like a connection error, with a text naming the file.
    void scratchFileUnavailable()
    {
        LoopbackHttp server;
        server.page("/p", "page");
        const test::NoPlaceForFiles nowhere(QDir(m_dir->path()));
        QVERIFY(nowhere.created);
        const QString& blocker = nowhere.blocker;
        TfrmMain w;
        QByteArray page = "old";
        QVERIFY(!w.DownloadPage(server.base() + "/p", page));
        QVERIFY(page.isEmpty());
        QVERIFY(w.Aborted);
        QVERIFY2(status(w).startsWith("Cannot create the scratch file \"" + blocker.toUtf8() +
                                      "/program/test.html\" ("),
                 status(w));
        QVERIFY(server.requests().isEmpty());
    }
};

ZANTHE_TEST(TestPageFetcher)
#include "tst_pagefetcher.moc"
