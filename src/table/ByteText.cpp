#include "ByteText.h"

#include <QStringDecoder>

namespace zanthe {

QString toDisplay(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QByteArray fromUser(const QString& text)
{
    return text.toUtf8();
}

} // namespace zanthe
