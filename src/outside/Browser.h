#pragma once

#include <QByteArray>
#include <QString>

namespace zanthe {

// The program that opens web addresses: the first entry of BROWSER (program
// names or paths, separated by ':') that can be found, or xdg-open when
// BROWSER is unset or empty. Empty when nothing can be found.
QString browserLauncher();

// Starts the launcher on the address and does not wait for it. The address
// is one argument, unchanged, and no shell sees it. True when a launcher was
// found (whether or not it then started); failures are silent.
bool OpenInBrowser(const QByteArray& address);

// The Make Money page: the site root with the affiliate id appended as is.
QByteArray makeMoneyAddress(const QByteArray& affiliateId);

} // namespace zanthe
