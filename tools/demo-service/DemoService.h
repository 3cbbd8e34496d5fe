#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <mutex>
#include <random>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace zanthe::demo {

// One answer of the service: status, body and the headers it sets.
struct Reply {
    int status = 404;
    QByteArray contentType = "text/plain";
    QByteArray body = "Not found\n";
    QByteArray revealedAnswer; // sent as X-Demo-Answer when answers are revealed
};

// The stand-ins for the suggestion service and the three search engines,
// under /suggest, /google, /yahoo and /msn. Requests arrive on the server's
// worker threads; the challenge state is guarded by one mutex.
class DemoService final {
public:
    explicit DemoService(bool revealAnswers, int port);

    // Sends every GET of the server through handle(); nothing else is served.
    void attach(httplib::Server& server);

    // target: path and query as sent; host: the Host header, used to build
    // the absolute address of the challenge image.
    Reply handle(const QByteArray& target, const QByteArray& host);

private:
    struct Challenge {
        QByteArray seed;
        QByteArray answer;
    };

    Reply suggestion(const QByteArray& seed, const QByteArray& host);
    Reply answer(const QByteArray& password, const QByteArray& random, const QByteArray& seed,
                 const QByteArray& host);
    Reply image(const QByteArray& random);
    Reply newChallenge(const QByteArray& seed, const QByteArray& host);
    Reply results(const QByteArray& seed, const QByteArray& host) const;
    QByteArray safeHost(const QByteArray& host) const;

    const bool m_revealAnswers;
    const int m_port;
    std::mutex m_mutex;
    std::mt19937_64 m_random;
    QHash<QByteArray, Challenge> m_challenges; // by the hidden random value
    QSet<QByteArray> m_solvedSeeds;
};

} // namespace zanthe::demo
