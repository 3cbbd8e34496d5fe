#pragma once

#include "outside/ProgramFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QTemporaryDir>

namespace zanthe::test {

// A program folder of its own for one test, with helpers to fill it with
// branding files. The program looks there until the folder goes away.
class BrandingFolder final {
public:
    BrandingFolder() { setProgramFolder(m_dir.path()); }
    ~BrandingFolder() { setProgramFolder({}); }
    BrandingFolder(const BrandingFolder&) = delete;
    BrandingFolder& operator=(const BrandingFolder&) = delete;

    QString path(const QString& name = {}) const { return m_dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    // "dbconfig.dat" with section Settings and the given key lines.
    void writeConfig(const QByteArray& keys) const
    {
        write("dbconfig.dat", "[Settings]\r\n" + keys);
    }

    // Every file in the folder with its content.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(path()).entryList(QDir::Files | QDir::Hidden)) {
            QFile file(path(name));
            if (file.open(QIODevice::ReadOnly))
                files.insert(name, file.readAll());
        }
        return files;
    }

private:
    QTemporaryDir m_dir;
};

// A real picture of the given size in a format Qt can write.
inline QByteArray pictureBytes(const char* format, QSize size, QColor colour = QColor(40, 110, 200))
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height(), Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Qt reads GIF but cannot write it: a 16x10 two-frame looping GIF, 100 ms a
// frame, checkered red then blue.
inline QByteArray gifBytes()
{
    static const char data[] =
        "\x47\x49\x46\x38\x39\x61\x10\x00\x0a\x00\x81\x00\x00\xff\xff\xff\xc8\x1e\x1e\x1e"
        "\x1e\xc8\x00\x00\x00\x21\xff\x0b\x4e\x45\x54\x53\x43\x41\x50\x45\x32\x2e\x30\x03"
        "\x01\x00\x00\x00\x21\xf9\x04\x04\x0a\x00\x00\x00\x2c\x00\x00\x00\x00\x10\x00\x0a"
        "\x00\x00\x02\x5b\x4c\x98\x10\x20\xc0\x84\x09\x01\x02\x4c\x98\x10\x20\xc0\x84\x09"
        "\x01\x02\x4c\x98\x10\x20\xc0\x84\x09\x01\x02\x4c\x98\x10\x20\xc0\x84\x09\x01\x02"
        "\x04\x08\x30\x61\x42\x80\x00\x13\x26\x04\x08\x30\x61\x42\x80\x00\x13\x26\x04\x08"
        "\x30\x61\x42\x80\x00\x13\x26\x04\x08\x30\x61\x42\x80\x00\x13\x26\x4c\x98\x10\x20"
        "\xc0\x84\x09\x01\x02\x4c\x98\x10\x20\xc0\x84\x09\x01\x02\x05\x00\x21\xf9\x04\x04"
        "\x0a\x00\x00\x00\x2c\x00\x00\x00\x00\x10\x00\x0a\x00\x00\x02\x5b\x94\x28\x11\x20"
        "\x40\x89\x12\x01\x02\x94\x28\x11\x20\x40\x89\x12\x01\x02\x94\x28\x11\x20\x40\x89"
        "\x12\x01\x02\x94\x28\x11\x20\x40\x89\x12\x01\x02\x04\x08\x50\xa2\x44\x80\x00\x25"
        "\x4a\x04\x08\x50\xa2\x44\x80\x00\x25\x4a\x04\x08\x50\xa2\x44\x80\x00\x25\x4a\x04"
        "\x08\x50\xa2\x44\x80\x00\x25\x4a\x94\x28\x11\x20\x40\x89\x12\x01\x02\x94\x28\x11"
        "\x20\x40\x89\x12\x01\x02\x05\x00\x3b";
    return QByteArray(data, sizeof(data) - 1);
}

// Fills a folder from short entries "name=kind[:WxH]": png, bmp, jpg, ico
// (a picture of that size), gif (the GIF above), garbage (no picture).
inline void writeBrandingFile(const BrandingFolder& folder, const QString& entry)
{
    const QString name = entry.section('=', 0, 0);
    const QString kind = entry.section('=', 1).section(':', 0, 0);
    const QStringList wh = entry.section(':', 1).split('x');
    const QSize size = wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize(40, 20);
    if (kind == "gif")
        folder.write(name, gifBytes());
    else if (kind == "garbage")
        folder.write(name, QByteArray("\x89PNG not really a picture"));
    else
        folder.write(name,
                     pictureBytes(kind == "jpg" ? "jpeg" : kind.toLatin1().constData(), size));
}

} // namespace zanthe::test
