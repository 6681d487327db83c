#include "CronText.h"

#include <limits>

namespace Tempolane::CronText {

QList<QStringView> splitAtWhitespace(QStringView text)
{
    QList<QStringView> pieces;
    qsizetype start = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSpace()) {
            if (start >= 0)
                pieces.append(text.sliced(start, i - start));
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    if (start >= 0)
        pieces.append(text.sliced(start));
    return pieces;
}

std::optional<std::int64_t> readInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    if (text.isEmpty())
        return std::nullopt;

    // Accumulate negatively so that the most negative value still reads.
    constexpr auto minimum = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (value < (minimum + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    if (value == minimum)
        return std::nullopt;
    return -value;
}

bool equalsIgnoringAsciiCase(QStringView text, QStringView lowercase)
{
    if (text.size() != lowercase.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char16_t lowered = c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
        if (lowered != lowercase[i].unicode())
            return false;
    }
    return true;
}

} // namespace Tempolane::CronText
