#pragma once

#include <httplib.h>

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QTcpServer>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace zanthe::test {

// An HTTP server on 127.0.0.1, run on its own thread, for tests of the page
// fetcher and the runs. Routes are looked up by path (the query ignored);
// unknown paths answer 404. Every request is logged with its target exactly
// as it came on the request line and its headers.
class LoopbackHttp final {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    struct Seen {
        QByteArray target;
        QMap<QByteArray, QByteArray> headers; // names in lower case
        int remotePort = 0;
        QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    };

    LoopbackHttp()
    {
        m_server.set_keep_alive_max_count(1);
        m_server.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            Handler handler;
            {
                std::lock_guard lock(m_mutex);
                Seen seen;
                seen.target = QByteArray::fromStdString(req.target);
                seen.remotePort = req.remote_port;
                for (const auto& [name, value] : req.headers)
                    seen.headers.insert(QByteArray::fromStdString(name).toLower(),
                                        QByteArray::fromStdString(value));
                m_seen.append(seen);
                handler = m_routes.value(QByteArray::fromStdString(req.path));
            }
            if (handler)
                handler(req, res);
            else
                res.status = 404;
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LoopbackHttp()
    {
        stopping = true;
        m_server.stop();
        m_thread.join();
    }
    LoopbackHttp(const LoopbackHttp&) = delete;
    LoopbackHttp& operator=(const LoopbackHttp&) = delete;

    QByteArray base() const { return "http://127.0.0.1:" + QByteArray::number(m_port); }

    void on(const QByteArray& path, Handler handler)
    {
        std::lock_guard lock(m_mutex);
        m_routes.insert(path, std::move(handler));
    }
    // A fixed answer: body, status, extra headers.
    void page(const QByteArray& path, const QByteArray& body, int status = 200,
              const QList<std::pair<QByteArray, QByteArray>>& headers = {})
    {
        on(path, [body, status, headers](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            for (const auto& [name, value] : headers)
                res.set_header(name.toStdString(), value.toStdString());
            // Not text/*: the server would compress text when asked, and the
            // tests look at the bytes as served.
            res.set_content(body.toStdString(), "application/octet-stream");
        });
    }
    // A body sent in pieces: `first` at once, then `piece` every `everyMs`
    // for `count` times, without an announced size.
    void slowPage(const QByteArray& path, const QByteArray& first, const QByteArray& piece,
                  int count, int everyMs)
    {
        on(path,
           [this, first, piece, count, everyMs](const httplib::Request&, httplib::Response& res) {
               res.set_chunked_content_provider(
                   "application/octet-stream", [this, first, piece, count, everyMs,
                                                sent = 0](size_t, httplib::DataSink& sink) mutable {
                       if (stopping)
                           return false;
                       if (sent == 0) {
                           sink.write(first.constData(), first.size());
                       } else {
                           std::this_thread::sleep_for(std::chrono::milliseconds(everyMs));
                           if (stopping || !sink.is_writable())
                               return false;
                           sink.write(piece.constData(), piece.size());
                       }
                       if (++sent > count)
                           sink.done();
                       return true;
                   });
           });
    }

    QList<Seen> requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_seen;
    }
    QByteArrayList targets() const
    {
        QByteArrayList out;
        for (const Seen& s : requests())
            out << s.target;
        return out;
    }
    void clearLog()
    {
        std::lock_guard lock(m_mutex);
        m_seen.clear();
    }

    std::atomic<bool> stopping{false};

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    QMap<QByteArray, Handler> m_routes;
    QList<Seen> m_seen;
};

// A port on 127.0.0.1 where nothing listens.
inline int closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace zanthe::test
