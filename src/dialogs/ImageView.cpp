#include "ImageView.h"

#include <QBuffer>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>

namespace zanthe {

namespace {

// A security image is a few kilobytes; anything far bigger is not one.
constexpr qint64 MaxImageBytes = 4 * 1024 * 1024;
constexpr int TransferTimeoutMs = 30000;

bool isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == "http" || scheme == "https");
}

// Only the picture formats a challenge page uses are decoded.
bool isShownFormat(const QByteArray& format)
{
    return format == "png" || format == "gif" || format == "jpeg" || format == "jpg" ||
           format == "bmp";
}

} // namespace

ImageView::ImageView(QWidget* parent)
    : QWidget(parent)
    , m_network(new QNetworkAccessManager(this))
{
    m_network->setProxy(QNetworkProxy::NoProxy);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ImageView::~ImageView()
{
    // Dropping a reply that is still running must not call back into a
    // half-destroyed view.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

QString ImageView::loadingText()
{
    return QStringLiteral("Loading image...");
}

QString ImageView::failedText()
{
    return QStringLiteral("The image could not be loaded.");
}

void ImageView::navigate(const QUrl& url)
{
    m_url = url;
    start();
}

void ImageView::refresh()
{
    start();
}

void ImageView::start()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    m_picture = QPixmap();
    if (!isWebAddress(m_url)) {
        fail();
        return;
    }
    m_state = State::Loading;
    m_status = loadingText();
    update();

    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("Keyword Zanthe"));
    request.setTransferTimeout(TransferTimeoutMs);
    QNetworkReply* reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > MaxImageBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { replyFinished(reply); });
}

void ImageView::replyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply = nullptr;

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        fail();
        return;
    }
    QByteArray data = reply->readAll();
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage image;
    if (!isShownFormat(reader.format()) || !reader.read(&image) || image.isNull()) {
        fail();
        return;
    }
    const QSize area = size();
    if (image.width() > area.width() || image.height() > area.height())
        image = image.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_picture = QPixmap::fromImage(image);
    m_state = State::Shown;
    m_status.clear();
    update();
    emit loadFinished(true);
}

void ImageView::fail()
{
    m_picture = QPixmap();
    m_state = State::Failed;
    m_status = failedText();
    update();
    emit loadFinished(false);
}

void ImageView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    p.fillRect(rect(), QColor(0xff, 0xff, 0xff));
    p.setPen(QColor(0xb8, 0xc3, 0xcf));
    p.drawRect(frame);
    if (!m_picture.isNull()) {
        const QSize size = m_picture.deviceIndependentSize().toSize();
        const QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
        p.drawPixmap(at, m_picture);
    } else if (!m_status.isEmpty()) {
        p.setPen(QColor(0x5f, 0x6b, 0x7a));
        p.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignCenter | Qt::TextWordWrap, m_status);
    }
}

} // namespace zanthe
