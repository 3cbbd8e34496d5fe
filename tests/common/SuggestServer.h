#pragma once

#include "LoopbackHttp.h"
#include "SuggestPages.h"

#include <QBuffer>
#include <QByteArray>
#include <QByteArrayList>
#include <QColor>
#include <QImage>

#include <chrono>
#include <mutex>
#include <thread>

namespace zanthe::test {

// A stand-in for the suggestion service on a loopback server. The suggestion
// and answer requests are answered from one script in order (the last entry
// repeats); /image answers with the picture set by setImage().
class SuggestServer final {
public:
    struct Page {
        QByteArray body;
        int status = 200;
    };

    SuggestServer()
    {
        const auto scripted = [this](const httplib::Request&, httplib::Response& res) {
            Page page;
            int delay = 0;
            {
                std::lock_guard lock(m_mutex);
                page = m_pages.isEmpty()           ? Page{"", 404}
                       : m_served < m_pages.size() ? m_pages.at(m_served)
                                                   : m_pages.last();
                ++m_served;
                delay = m_pageDelayMs;
            }
            if (delay > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            res.status = page.status;
            res.set_content(page.body.toStdString(), "text/html");
        };
        m_http.on("/", scripted);
        m_http.on("/keyword-suggestion-tool.html", scripted);
        m_http.on("/image", [this](const httplib::Request&, httplib::Response& res) {
            QByteArray body, type;
            int status = 0, delay = 0;
            {
                std::lock_guard lock(m_mutex);
                body = m_image;
                type = m_imageType;
                status = m_imageStatus;
                delay = m_imageDelayMs;
            }
            if (delay > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            res.status = status;
            res.set_content(body.toStdString(), type.toStdString());
        });
    }

    QByteArray base() const { return m_http.base(); }

    void setPages(QList<Page> pages)
    {
        std::lock_guard lock(m_mutex);
        m_pages = std::move(pages);
    }
    void setPages(const QByteArrayList& bodies)
    {
        QList<Page> pages;
        for (const QByteArray& b : bodies)
            pages.append(Page{b});
        setPages(pages);
    }
    void setImage(const QByteArray& body, const QByteArray& contentType = "image/png",
                  int status = 200, int delayMs = 0)
    {
        std::lock_guard lock(m_mutex);
        m_image = body;
        m_imageType = contentType;
        m_imageStatus = status;
        m_imageDelayMs = delayMs;
    }
    // Holds every page answer back this long (to look at the program while a
    // fetch is under way).
    void setPageDelay(int ms)
    {
        std::lock_guard lock(m_mutex);
        m_pageDelayMs = ms;
    }

    // Request targets as sent, pages and images apart.
    QByteArrayList pageTargets() const { return targets(false); }
    QByteArrayList imageTargets() const { return targets(true); }

private:
    QByteArrayList targets(bool images) const
    {
        QByteArrayList out;
        for (const QByteArray& t : m_http.targets())
            if (t.startsWith("/image") == images)
                out << t;
        return out;
    }

    mutable std::mutex m_mutex;
    QList<Page> m_pages;
    int m_served = 0;
    QByteArray m_image;
    QByteArray m_imageType = "image/png";
    int m_imageStatus = 200;
    int m_imageDelayMs = 0;
    int m_pageDelayMs = 0;
    LoopbackHttp m_http; // last: stops before the state its handlers use goes
};

// A PNG of the given size, as served bytes: a framed pattern so a look at
// the screen shows whether it arrived whole.
inline QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0xf4, 0xe9, 0xc8));
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if ((x / 6 + y / 6) % 5 == 0 || x == 0 || y == 0 || x == width - 1 || y == height - 1)
                image.setPixelColor(x, y, QColor(0x5a, 0x3e, 0x8c));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace zanthe::test
