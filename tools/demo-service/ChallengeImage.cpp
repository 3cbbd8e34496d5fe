#include "ChallengeImage.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <random>

namespace zanthe::demo {

QByteArray challengePng(const QByteArray& answer, quint64 variation)
{
    constexpr int Width = 200;
    constexpr int Height = 70;
    std::mt19937_64 rng(variation);
    const auto between = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };

    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(QColor(246, 244, 236));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // Light noise first, so the characters stay on top and readable.
    for (int i = 0; i < 180; ++i) {
        painter.setPen(QColor(between(170, 220), between(170, 220), between(170, 220)));
        painter.drawPoint(between(0, Width - 1), between(0, Height - 1));
    }
    for (int i = 0; i < 5; ++i) {
        painter.setPen(QPen(QColor(between(150, 200), between(150, 200), between(150, 200)), 1.5));
        painter.drawLine(between(0, Width / 2), between(0, Height - 1),
                         between(Width / 2, Width - 1), between(0, Height - 1));
    }

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(36);
    font.setBold(true);
    painter.setFont(font);
    const int step = answer.isEmpty() ? 0 : (Width - 24) / static_cast<int>(answer.size());
    for (qsizetype i = 0; i < answer.size(); ++i) {
        painter.save();
        painter.translate(14 + step * static_cast<int>(i) + step / 2, Height / 2 + between(-6, 6));
        painter.rotate(between(-18, 18));
        painter.setPen(QColor(between(20, 90), between(20, 90), between(60, 130)));
        const QRect cell(-step / 2, -Height / 2, step, Height);
        painter.drawText(cell, Qt::AlignCenter, QString(QChar::fromLatin1(answer.at(i))));
        painter.restore();
    }

    // One thin line across the text, as such images usually have.
    painter.setPen(QPen(QColor(110, 110, 140), 1.2));
    QPainterPath path(QPointF(6, between(25, 45)));
    path.cubicTo(QPointF(Width / 3.0, between(10, 60)), QPointF(2 * Width / 3.0, between(10, 60)),
                 QPointF(Width - 6, between(25, 45)));
    painter.drawPath(path);
    painter.end();

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace zanthe::demo
