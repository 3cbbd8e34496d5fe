#pragma once

#include <QByteArray>

namespace zanthe {

// The one routine that turns a value into query-string form: a blank becomes
// "+", A-Z a-z 0-9 - . _ ~ stay, every other byte becomes %XX (upper-case hex).
QByteArray encodeQueryValue(const QByteArray& value);

} // namespace zanthe
