#include "PageFetcher.h"

#include "FileBytes.h"
#include "TextLines.h"
#include "outside/ProgramFolder.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QStandardPaths>

#include <functional>

namespace zanthe {

namespace {

QByteArray quoted(const QString& path)
{
    return '"' + QDir::toNativeSeparators(path).toUtf8() + '"';
}

} // namespace

bool ScratchFile::isOpen() const
{
    return m_file && m_file->isOpen();
}

QIODevice* ScratchFile::device() const
{
    return m_file.get();
}

QString ScratchFile::fileName() const
{
    return m_file ? m_file->fileName() : QString();
}

void ScratchFile::close()
{
    if (!isOpen())
        return;
    m_file->flush();
    m_file->resize(m_file->pos());
    m_file->close();
}

ScratchFile createScratchFile(const QString& programFolder,
                              const std::function<QString()>& cacheFolder)
{
    ScratchFile result;
    QByteArrayList failures;
    const auto tryIn = [&](const QString& folder, bool makeFolder) {
        const QString path = QDir(folder).filePath(ScratchFileName);
        if (makeFolder && !QDir().mkpath(folder)) {
            failures << quoted(path) + " (cannot create the folder)";
            return false;
        }
        auto file = std::make_unique<QFile>(path);
        // Not WriteOnly, which empties the file at once (see close()).
        if (!file->open(QIODevice::ReadWrite)) {
            failures << quoted(path) + " (" + file->errorString().toUtf8() + ")";
            return false;
        }
        result.m_file = std::move(file);
        return true;
    };
    if (tryIn(programFolder, false))
        return result;
    // An installed program often sits in a folder its user cannot write.
    const QString cache = cacheFolder();
    if (!cache.isEmpty() && tryIn(cache, true))
        return result;
    result.m_error = "Cannot create the scratch file " + failures.join(" nor ") + '.';
    return result;
}

ScratchFile createScratchFile()
{
    return createScratchFile(programFolder(), [] {
        return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    });
}

PageReadBack readScratchFile(const QString& path)
{
    PageReadBack result;
    const FileBytes file = readFileBytes(path);
    if (!file.ok) {
        result.error = "Cannot read " + quoted(path) + " (" + file.error.toUtf8() + ")";
        return result;
    }
    result.ok = true;
    result.page = toPageText(file.bytes);
    return result;
}

PageFetcher::PageFetcher(QObject* parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
    // Qt would otherwise route through the http_proxy of the environment.
    m_manager->setProxy(QNetworkProxy::NoProxy);
    m_manager->setCookieJar(new QNetworkCookieJar(m_manager));
    m_manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    // No time limit: a silent server is waited on until the user stops.
    m_manager->setTransferTimeout(0);
}

PageFetcher::~PageFetcher()
{
    // A Get() still waiting notices through its guard that we are gone.
    if (m_wait)
        m_wait->quit();
}

bool PageFetcher::Get(const QByteArray& url, QIODevice* out)
{
    if (m_reply) {
        m_error = QStringLiteral("Another page is being fetched.");
        return false;
    }
    // StrictMode keeps the query exactly as built: TolerantMode would rewrite
    // a stray "%zz" and QUrlQuery would leave a literal "+".
    const QUrl address = QUrl::fromEncoded(url, QUrl::StrictMode);
    if (!address.isValid() || address.isRelative()) {
        m_error = QStringLiteral("Invalid address.");
        return false;
    }
    QNetworkRequest request(address);
    request.setRawHeader("Accept", "text/html, */*");
    request.setRawHeader("Content-Type", "text/html");
    request.setRawHeader("User-Agent", "Mozilla/3.0 (compatible; Indy Library)");
    // Qt would ask for gzip on its own; the scratch file holds the body as
    // sent, and a compressed answer costs a delayed-ACK stall per fetch.
    request.setRawHeader("Accept-Encoding", "identity");
    // Qt reuses connections by default; every fetch ends with its own closed.
    request.setRawHeader("Connection", "close");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(0);

    m_error.clear();
    m_out = out;
    m_begun = false;
    m_writeFailed = false;
    m_bodyComplete = false;
    m_received = 0;
    m_total = 0;

    const QPointer<PageFetcher> self(this);
    QEventLoop wait;
    m_wait = &wait;
    QNetworkReply* reply = m_manager->get(request);
    m_reply = reply;
    connect(reply, &QIODevice::readyRead, this, &PageFetcher::onReadyRead);
    // abort() emits finished() from inside itself, possibly deep inside a
    // Stop handler: the only thing done on finished() is ending the wait.
    connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
    if (!reply->isFinished())
        wait.exec();
    if (!self)
        return false; // the client was destroyed while we waited
    m_wait = nullptr;

    // Qt ends every event loop when the application quits, so the wait can
    // be over while the reply still runs.
    if (!reply->isFinished())
        reply->abort();

    bool ok = false;
    const QNetworkReply::NetworkError error = reply->error();
    if (m_writeFailed) {
        m_error = QStringLiteral("Cannot write the page: ") + out->errorString();
    } else if (error == QNetworkReply::NoError ||
               (error == QNetworkReply::OperationCanceledError && m_bodyComplete &&
                reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() < 400)) {
        // A body cut only at its end counts as arrived; an error page never does.
        ok = true;
    } else {
        m_error = reply->errorString();
    }

    // A reply deleteLater()'d here would live until the whole run returns.
    reply->disconnect(this);
    m_reply = nullptr;
    m_out = nullptr;
    delete reply;

    if (ok && !m_begun) { // an empty body still makes one transfer
        m_begun = true;
        emit WorkBegin(0);
        if (!self)
            return ok;
    }
    if (m_begun)
        emit WorkEnd();
    return ok;
}

void PageFetcher::Disconnect()
{
    if (!m_reply || m_reply->isFinished())
        return;
    // Everything announced has arrived: only the end of the transfer is cut.
    if (m_total > 0 && m_received >= m_total)
        m_bodyComplete = true;
    m_reply->abort();
}

void PageFetcher::onReadyRead()
{
    if (!m_reply || !m_out)
        return;
    // Written as it arrives: after abort() the reply's buffer is gone.
    const QByteArray chunk = m_reply->readAll();
    if (!chunk.isEmpty() && m_out->write(chunk) != chunk.size()) {
        m_writeFailed = true;
        m_reply->abort();
        return;
    }
    m_received += chunk.size();
    if (!m_begun) {
        m_begun = true;
        bool known = false;
        const qint64 length =
            m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        m_total = known && length > 0 ? length : 0;
        const QPointer<PageFetcher> self(this);
        emit WorkBegin(m_total);
        if (!self)
            return;
    }
    emit Work(m_received);
}

} // namespace zanthe
