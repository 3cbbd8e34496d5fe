#pragma once

#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;

namespace zanthe {

// Shows one picture fetched from a web address. It has its own network
// access (no proxy, no cookies shared with the page fetcher) and never makes
// its owner wait: the fetch runs in the background of the event loop and the
// area says in a short line what is going on until the picture arrives.
class ImageView final : public QWidget {
    Q_OBJECT
public:
    enum class State { Empty, Loading, Shown, Failed };

    explicit ImageView(QWidget* parent = nullptr);
    ~ImageView() override;

    // Starts fetching the picture at `url`. An address that is not http or
    // https is never fetched and shows as a failed load.
    void navigate(const QUrl& url);
    // Fetches the current address again.
    void refresh();

    State state() const { return m_state; }
    QUrl url() const { return m_url; }
    QString statusText() const { return m_status; }
    // The picture as it is drawn (already scaled down to fit, if needed).
    QPixmap picture() const { return m_picture; }

    static QString loadingText();
    static QString failedText();

signals:
    // Emitted when a fetch ends, shown or failed.
    void loadFinished(bool ok);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void start();
    void replyFinished(QNetworkReply* reply);
    void fail();

    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QUrl m_url;
    State m_state = State::Empty;
    QString m_status;
    QPixmap m_picture;
};

} // namespace zanthe
