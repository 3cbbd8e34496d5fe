#pragma once

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QEventLoop;
class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;

namespace zanthe {

inline constexpr const char* ScratchFileName = "test.html";

// The file a fetch lands its body in, made afresh for every fetch: once
// closed it holds exactly what was written since it was created. The old
// content is cut off at close rather than at creation, because emptying a
// file first costs more than the whole fetch of a small page.
class ScratchFile final {
public:
    ScratchFile() = default;
    ScratchFile(ScratchFile&&) noexcept = default;
    ScratchFile& operator=(ScratchFile&& other) noexcept
    {
        if (this != &other) {
            close();
            m_file = std::move(other.m_file);
            m_error = std::move(other.m_error);
        }
        return *this;
    }
    ~ScratchFile() { close(); }

    bool isOpen() const;
    QIODevice* device() const; // where the body goes
    QString fileName() const;
    // When it could not be created: the files tried and the system's reasons.
    const QByteArray& error() const { return m_error; }
    // Cuts the file to what was written and closes it; harmless when closed.
    void close();

private:
    friend ScratchFile createScratchFile(const QString&, const std::function<QString()>&);
    std::unique_ptr<QFile> m_file;
    QByteArray m_error;
};

// "test.html" in the program's folder; where that cannot be created (a folder
// the user cannot write), in the user's cache folder instead.
ScratchFile createScratchFile();
// The same with the folders given; the cache folder is asked for only when
// needed, and an empty one is not tried.
ScratchFile createScratchFile(const QString& programFolder,
                              const std::function<QString()>& cacheFolder);

// The scratch file read back as page text: every line end CR LF, the text
// cut at the first NUL byte.
struct PageReadBack {
    bool ok = false;
    QByteArray page;
    QByteArray error;
};
PageReadBack readScratchFile(const QString& path);

// The program's HTTP client: one per main window, for the window's whole life,
// so its cookies last as long as the window. A fetch sends one GET with the
// program's fixed headers, follows redirects, and closes its connection at the
// end. Get() waits in a nested event loop, so the window keeps repainting and
// handling clicks (the Stop click among them) while a page arrives.
class PageFetcher final : public QObject {
    Q_OBJECT
public:
    explicit PageFetcher(QObject* parent = nullptr);
    ~PageFetcher() override;

    // Sends the address exactly as given (no second encoding) and writes the
    // body of the final answer into `out` as it arrives, so `out` holds what
    // arrived whatever ends the transfer. Returns true only when the whole
    // body of a successful answer arrived; otherwise errorString() says why.
    // One fetch at a time: a call while one runs fails at once.
    bool Get(const QByteArray& url, QIODevice* out);

    // Drops the running transfer, whose Get() then returns false (true when
    // its whole body had already arrived). Harmless when nothing runs; may be
    // called from a handler of the progress signals.
    void Disconnect();

    bool isBusy() const { return m_reply != nullptr; }
    QString errorString() const { return m_error; }
    QNetworkAccessManager* manager() const { return m_manager; }

signals:
    // Progress of the transfer under way. total is the announced size, 0
    // when none is announced.
    void WorkBegin(qint64 total);
    void Work(qint64 countSoFar);
    void WorkEnd();

private:
    void onReadyRead();

    QNetworkAccessManager* m_manager = nullptr;
    QNetworkReply* m_reply = nullptr;
    QEventLoop* m_wait = nullptr;
    QIODevice* m_out = nullptr;
    bool m_begun = false;
    bool m_writeFailed = false;
    bool m_bodyComplete = false;
    qint64 m_received = 0;
    qint64 m_total = 0;
    QString m_error;
};

} // namespace zanthe
