#include "CanonicalUuid.h"

#include <array>
#include <cstdint>

namespace Tempolane {

std::optional<QUuid> parseCanonicalUuid(QStringView text)
{
    if (text.size() != 36)
        return std::nullopt;
    std::array<std::uint8_t, 16> bytes{};
    std::size_t nibble = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-')
                return std::nullopt;
            continue;
        }
        int value = -1;
        if (c >= u'0' && c <= u'9')
            value = c - u'0';
        else if (c >= u'a' && c <= u'f')
            value = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            value = c - u'A' + 10;
        if (value < 0)
            return std::nullopt;
        bytes[nibble / 2] = std::uint8_t(bytes[nibble / 2] << 4 | value);
        ++nibble;
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

QString canonicalText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces);
}

} // namespace Tempolane
