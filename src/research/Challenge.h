#pragma once

#include <QByteArray>
#include <QUrl>

namespace zanthe {

// What a security-image challenge page hands the dialog: the two hidden form
// values the answer must carry back, and the address of the image.
struct ChallengeFields {
    QByteArray randomValue;
    QByteArray seedValue;
    QByteArray imageUrl;
};

// Reads the hidden "random" value, then the hidden "seed" value, then the
// first src attribute, each search going on from where the previous one
// stopped; a missing one stays empty and the next search starts from the same
// place. Every "&amp;" in the image address becomes "&" in one pass.
ChallengeFields LoadChallenge(const QByteArray& pageHtml);

// The address the image is fetched from. An address without a scheme is read
// relative to the service's pages (serviceBase + "/"). Only http and https
// addresses are fetched: for anything else (file:, javascript:, data:, an
// empty address) the result is an empty QUrl.
QUrl imageAddress(const QByteArray& imageUrl, const QByteArray& serviceBase);

} // namespace zanthe
