#include "Challenge.h"

#include "web/TextUtils.h"

namespace zanthe {

ChallengeFields LoadChallenge(const QByteArray& pageHtml)
{
    PageCursor cursor(pageHtml);
    ChallengeFields fields;
    fields.randomValue =
        ExtractBetween(R"(<input type="hidden" name="random" value=")", R"(")", 0, cursor);
    fields.seedValue =
        ExtractBetween(R"(<input type="hidden" name="seed" value=")", R"(")", 0, cursor);
    fields.imageUrl = ExtractBetween(R"(src=")", R"(")", 0, cursor);
    // One pass only: "&amp;amp;" is meant to stay "&amp;".
    fields.imageUrl.replace("&amp;", "&");
    return fields;
}

QUrl imageAddress(const QByteArray& imageUrl, const QByteArray& serviceBase)
{
    // Browsers drop blanks around an attribute's address; so do we.
    const QByteArray text = imageUrl.trimmed();
    if (text.isEmpty())
        return {};
    QUrl url = QUrl::fromEncoded(text, QUrl::TolerantMode);
    if (url.scheme().isEmpty()) {
        // The challenge pages live directly under the service's base address.
        const QUrl pages = QUrl::fromEncoded(serviceBase + '/', QUrl::TolerantMode);
        url = pages.resolved(url);
    }
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "https"))
        return {};
    return url;
}

} // namespace zanthe
