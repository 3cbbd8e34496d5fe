#include "Endpoints.h"

#include <QtGlobal>

namespace zanthe {

namespace {
void override(QByteArray& value, const char* variable)
{
    QByteArray replacement = qgetenv(variable);
    while (replacement.endsWith('/'))
        replacement.chop(1);
    if (!replacement.isEmpty())
        value = replacement;
}
} // namespace

Endpoints Endpoints::fromEnvironment()
{
    Endpoints e;
    override(e.suggest, "ZANTHE_SUGGEST_URL");
    override(e.google, "ZANTHE_GOOGLE_URL");
    override(e.yahoo, "ZANTHE_YAHOO_URL");
    override(e.msn, "ZANTHE_MSN_URL");
    return e;
}

} // namespace zanthe
