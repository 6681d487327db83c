#include "CanonicalUuid.h"

namespace Tempolane {

std::optional<QUuid> parseCanonicalUuid(QStringView text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool isHyphenPosition = i == 8 || i == 13 || i == 18 || i == 23;
        const bool isHex =
            (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (isHyphenPosition ? c != u'-' : !isHex)
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

QString canonicalText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces);
}

} // namespace Tempolane
