#include "QueryEncoding.h"

namespace zanthe {

QByteArray encodeQueryValue(const QByteArray& value)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(value.size() * 3);
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 0x0F];
        }
    }
    return out;
}

} // namespace zanthe
