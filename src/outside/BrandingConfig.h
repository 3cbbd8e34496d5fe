#pragma once

#include "IniFile.h"

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <optional>

namespace zanthe {

// Files beside the program that re-brand the main window.
inline constexpr char BrandingFileName[] = "dbconfig.dat";
inline constexpr char SkinFileName[] = "dbskin.dat";
inline constexpr char BrandingSection[] = "Settings";

struct BannerCandidate {
    QByteArray path; // as configured; only its file-name part is used
    QByteArray url;  // may be empty
};

struct LinkCandidate {
    QByteArray url;
    QByteArray name; // may be empty
};

// What the branding file says. A candidate exists only when its path (banner)
// or URL (link) key is set; candidates keep key order, gaps closed.
struct BrandingSettings {
    QByteArray appName;
    QByteArray affiliateId;
    QByteArray iconPath;
    QList<BannerCandidate> banners;
    QList<LinkCandidate> links;
};

BrandingSettings readBrandingSettings(const IniFile& ini);

// Uniform whole numbers for the draws. Seeded from the system, or from a
// fixed seed so that a run can be repeated.
class BrandingRandom final {
public:
    BrandingRandom();
    explicit BrandingRandom(quint32 seed);
    int below(int count); // 0 .. count-1

private:
    QRandomGenerator m_generator;
};

// The source LoadBranding draws from: the fixed seed when one is set,
// otherwise a fresh system seed. Tests fix the seed; the program never does.
void setBrandingSeed(std::optional<quint32> seed);
BrandingRandom brandingRandom();

// The outcome of the draws: one banner, then two different links.
struct BrandingChoice {
    int banner = -1; // position among the banner candidates, -1 for none
    QByteArray bannerUrl;
    QByteArray bannerImagePath;
    QByteArray link1Url;
    QByteArray link1Name;
    QByteArray link2Url;
    QByteArray link2Name;
};

BrandingChoice chooseBranding(const BrandingSettings& settings, BrandingRandom& random);

// The part after the last '\', '/' or ':'; configured paths are looked up by
// this name beside the program.
QByteArray fileNamePart(const QByteArray& path);

// The stored picture of the banner candidate at position (from 0):
// "dbimg1.dat" for the first candidate, whatever its key's number.
QString storedBannerName(int position);

// How a banner picture is read, decided by its configured file name alone
// (compared without case): a name containing ".gif" anywhere is an animation;
// bmp, ico, jpg, jpeg and png are still pictures; anything else (wmf and emf
// included) cannot be read here.
enum class PictureKind { Animated, Still, Unreadable };
struct PictureFormat {
    PictureKind kind;
    QByteArray format; // image reader format name; empty when Unreadable
};
PictureFormat bannerPictureFormat(const QByteArray& configuredPath);

// The banner panel leaves five pixels above and below the picture.
int bannerPanelHeight(int pictureHeight);

// The window caption: the configured name when there is one, then " v" and
// the version text in every case.
QString brandedCaption(const QString& formCaption, const QByteArray& appName);

// The skin is a Qt style sheet in UTF-8, either plain or packed with
// qCompress. Anything else cannot be read as a skin.
struct SkinReadResult {
    QString styleSheet;
    QString error; // empty on success
    bool ok() const { return error.isEmpty(); }
};
SkinReadResult decodeSkin(const QByteArray& bytes);
SkinReadResult readSkinFile(const QString& path);

} // namespace zanthe
