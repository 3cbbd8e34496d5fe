#include "Branding.h"

#include "FMain.h"
#include "Look.h"
#include "outside/BrandingConfig.h"
#include "outside/ProgramFolder.h"
#include "table/ByteText.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMovie>
#include <QPixmap>

namespace zanthe {

namespace {

// Reads the stored picture in place, in the format its configured name
// implies; the stored file itself is never renamed or written. False when
// the picture cannot be read.
bool showBannerPicture(TfrmMain* form, const QString& storedFile, const QByteArray& configuredPath)
{
    const PictureFormat format = bannerPictureFormat(configuredPath);
    switch (format.kind) {
    case PictureKind::Animated: {
        auto* movie = new QMovie(storedFile, format.format, form);
        if (!movie->isValid() || !movie->jumpToFrame(0) || movie->currentImage().isNull()) {
            delete movie;
            return false;
        }
        const QSize size = movie->currentImage().size();
        form->gifBanner->show();
        form->imgBanner->hide();
        form->gifBanner->setMovie(movie);
        form->gifBanner->resize(size);
        form->gifMovie = movie;
        movie->start();
        form->panBanner->setFixedHeight(bannerPanelHeight(size.height()));
        return true;
    }
    case PictureKind::Still: {
        QImageReader reader(storedFile, format.format);
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (image.isNull())
            return false;
        form->gifBanner->hide();
        form->imgBanner->show();
        form->imgBanner->setPixmap(QPixmap::fromImage(image));
        form->imgBanner->resize(image.size());
        form->panBanner->setFixedHeight(bannerPanelHeight(image.height()));
        return true;
    }
    case PictureKind::Unreadable:
        break;
    }
    return false;
}

// Every size an icon file holds; a file that holds no readable picture gives
// a null icon.
QIcon readIcon(const QString& file)
{
    QIcon icon;
    QImageReader reader(file);
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void setLink(LinkLabel* label, const QByteArray& name, const QByteArray& url)
{
    label->setTextFormat(Qt::PlainText);
    label->setText(toDisplay(name));
    label->URL = url;
}

// Sized with the look that will draw it: the skin may change the font.
void fitToText(LinkLabel* label)
{
    label->ensurePolished();
    label->adjustSize();
}

} // namespace

void LoadBranding(TfrmMain* form)
{
    const QString folder = programFolder();
    const QString configFile = folder + QLatin1String(BrandingFileName);
    if (!QFileInfo(configFile).isFile())
        return;
    // An unreadable file reads as one without keys.
    const BrandingSettings settings = readBrandingSettings(readIniFile(configFile).ini);

    form->setWindowTitle(brandedCaption(form->windowTitle(), settings.appName));
    if (!settings.affiliateId.isEmpty())
        form->AffiliateId = settings.affiliateId;

    BrandingRandom random = brandingRandom();
    const BrandingChoice choice = chooseBranding(settings, random);
    if (choice.banner >= 0) {
        form->BannerUrl = choice.bannerUrl;
        form->BannerImagePath = choice.bannerImagePath;
    }
    if (!form->BannerUrl.isEmpty()) {
        form->imgBanner->setCursor(Qt::PointingHandCursor);
        form->gifBanner->setCursor(Qt::PointingHandCursor);
    }

    // A banner that is missing or cannot be read hides the panel, quietly.
    const QString storedFile = folder + storedBannerName(choice.banner);
    const bool bannerShown = !form->BannerImagePath.isEmpty() && QFileInfo(storedFile).isFile() &&
                             showBannerPicture(form, storedFile, form->BannerImagePath);
    if (!bannerShown)
        form->panBanner->hide();

    form->Link1Url = choice.link1Url;
    form->Link1Name = choice.link1Name;
    form->Link2Url = choice.link2Url;
    form->Link2Name = choice.link2Name;
    setLink(form->lblLink1URL, form->Link1Name, form->Link1Url);
    setLink(form->lblLink2URL, form->Link2Name, form->Link2Url);

    // A skin that cannot be read leaves the built-in look.
    const QString skinFile = folder + QLatin1String(SkinFileName);
    if (QFileInfo(skinFile).isFile()) {
        const SkinReadResult skin = readSkinFile(skinFile);
        if (skin.ok())
            applyStyleSheet(skin.styleSheet);
    }
    fitToText(form->lblLink1URL);
    fitToText(form->lblLink2URL);

    if (!settings.iconPath.isEmpty())
        form->AppIconPath = settings.iconPath;
    const QByteArray iconName = fileNamePart(form->AppIconPath);
    const QString iconFile = folder + toDisplay(iconName);
    if (!iconName.isEmpty() && QFileInfo(iconFile).isFile()) {
        const QIcon icon = readIcon(iconFile);
        if (!icon.isNull())
            QApplication::setWindowIcon(icon);
    }
}

} // namespace zanthe
