#include "BrandingConfig.h"

#include "ProgramConstants.h"
#include "table/ByteText.h"
#include "web/FileBytes.h"

#include <QStringDecoder>

namespace zanthe {

BrandingSettings readBrandingSettings(const IniFile& ini)
{
    const auto read = [&ini](const QByteArray& key) { return ini.value(BrandingSection, key); };
    BrandingSettings s;
    s.appName = read("AppName");
    s.affiliateId = read("AfiliateID");
    s.iconPath = read("IconPath");
    for (int i = 1; i <= 3; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray path = read("BannerPath" + n);
        if (!path.isEmpty())
            s.banners.append({path, read("BannerURL" + n)});
    }
    for (int i = 1; i <= 4; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray url = read("Link" + n + "URL");
        if (!url.isEmpty())
            s.links.append({url, read("Link" + n + "Name")});
    }
    return s;
}

namespace {
std::optional<quint32>& fixedSeed()
{
    static std::optional<quint32> seed;
    return seed;
}
} // namespace

BrandingRandom::BrandingRandom()
    : m_generator(QRandomGenerator::system()->generate())
{}

BrandingRandom::BrandingRandom(quint32 seed)
    : m_generator(seed)
{}

int BrandingRandom::below(int count)
{
    return int(m_generator.bounded(quint32(count)));
}

void setBrandingSeed(std::optional<quint32> seed)
{
    fixedSeed() = seed;
}

BrandingRandom brandingRandom()
{
    return fixedSeed() ? BrandingRandom(*fixedSeed()) : BrandingRandom();
}

BrandingChoice chooseBranding(const BrandingSettings& settings, BrandingRandom& random)
{
    BrandingChoice c;
    if (!settings.banners.isEmpty()) {
        c.banner = random.below(int(settings.banners.size()));
        c.bannerUrl = settings.banners.at(c.banner).url;
        c.bannerImagePath = settings.banners.at(c.banner).path;
    }
    QList<LinkCandidate> links = settings.links;
    if (!links.isEmpty()) {
        const LinkCandidate first = links.takeAt(random.below(int(links.size())));
        c.link1Url = first.url;
        c.link1Name = first.name;
    }
    // The first pick is out of the list, so the second is always another one.
    if (!links.isEmpty()) {
        const LinkCandidate& second = links.at(random.below(int(links.size())));
        c.link2Url = second.url;
        c.link2Name = second.name;
    }
    return c;
}

QByteArray fileNamePart(const QByteArray& path)
{
    qsizetype cut = -1;
    for (const char separator : {'\\', '/', ':'})
        cut = std::max(cut, path.lastIndexOf(separator));
    return path.mid(cut + 1);
}

QString storedBannerName(int position)
{
    return QStringLiteral("dbimg%1.dat").arg(position + 1);
}

PictureFormat bannerPictureFormat(const QByteArray& configuredPath)
{
    const QByteArray name = fileNamePart(configuredPath).toLower();
    if (name.contains(".gif"))
        return {PictureKind::Animated, "gif"};
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArray extension = dot < 0 ? QByteArray() : name.mid(dot + 1);
    if (extension == "bmp" || extension == "ico" || extension == "png")
        return {PictureKind::Still, extension};
    if (extension == "jpg" || extension == "jpeg")
        return {PictureKind::Still, "jpeg"};
    return {PictureKind::Unreadable, {}};
}

int bannerPanelHeight(int pictureHeight)
{
    return pictureHeight + 10;
}

QString brandedCaption(const QString& formCaption, const QByteArray& appName)
{
    const QString caption = appName.isEmpty() ? formCaption : toDisplay(appName);
    return caption + QStringLiteral(" v") + QLatin1String(VersionText);
}

namespace {

// qCompress output: a 4-byte length, then a zlib stream whose two header
// bytes name the deflate method and pass their own check.
bool looksCompressed(const QByteArray& bytes)
{
    if (bytes.size() < 6)
        return false;
    const auto cmf = quint8(bytes.at(4));
    const auto flg = quint8(bytes.at(5));
    return (cmf & 0x0F) == 8 && ((cmf << 8) | flg) % 31 == 0;
}

// Braces must pair up outside comments and quoted strings; a truncated or
// foreign file rarely manages that.
bool bracesBalance(const QString& sheet)
{
    int depth = 0;
    QChar quote;
    for (qsizetype i = 0; i < sheet.size(); ++i) {
        const QChar c = sheet.at(i);
        if (!quote.isNull()) {
            if (c == '\\')
                ++i;
            else if (c == quote)
                quote = QChar();
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '/' && i + 1 < sheet.size() && sheet.at(i + 1) == '*') {
            const qsizetype end = sheet.indexOf(QStringLiteral("*/"), i + 2);
            if (end < 0)
                return false;
            i = end + 1;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth < 0) {
            return false;
        }
    }
    return depth == 0 && quote.isNull();
}

} // namespace

SkinReadResult decodeSkin(const QByteArray& bytes)
{
    QByteArray text = bytes;
    if (looksCompressed(bytes)) {
        text = qUncompress(bytes);
        if (text.isEmpty())
            return {{}, QStringLiteral("the compressed skin is damaged")};
    }
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString sheet = decoder.decode(text);
    if (decoder.hasError() || text.contains('\0'))
        return {{}, QStringLiteral("the skin is not text")};
    if (sheet.trimmed().isEmpty())
        return {{}, QStringLiteral("the skin is empty")};
    if (!bracesBalance(sheet))
        return {{}, QStringLiteral("the skin is not a style sheet")};
    return {sheet, {}};
}

SkinReadResult readSkinFile(const QString& path)
{
    const FileBytes file = readFileBytes(path);
    if (!file.ok)
        return {{}, file.error};
    return decodeSkin(file.bytes);
}

} // namespace zanthe
