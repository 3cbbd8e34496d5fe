#pragma once

#include <QByteArray>

namespace zanthe {

// Base addresses of the outside services: scheme, host, optional port and
// optional path prefix, no trailing slash. Each can be replaced at start by an
// environment variable so a test server or a mirror can stand in.
struct Endpoints {
    QByteArray suggest = "http://freekeywords.wordtracker.com"; // ZANTHE_SUGGEST_URL
    QByteArray google = "http://www.google.com";                // ZANTHE_GOOGLE_URL
    QByteArray yahoo = "http://search.yahoo.com";               // ZANTHE_YAHOO_URL
    QByteArray msn = "http://search.msn.com";                   // ZANTHE_MSN_URL

    static Endpoints fromEnvironment();
};

} // namespace zanthe
