#include "CronText.h"

#include <algorithm>
#include <limits>

namespace Tempolane::CronText {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

template <typename IsSeparator>
QList<QStringView> splitAtRuns(QStringView text, IsSeparator isSeparator)
{
    QList<QStringView> pieces;
    qsizetype start = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isSeparator(text[i])) {
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

} // namespace

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QList<QStringView> splitAtBlanks(QStringView text)
{
    return splitAtRuns(text, isBlank);
}

QList<QStringView> splitAtWhitespace(QStringView text)
{
    return splitAtRuns(text, [](QChar c) { return c.isSpace(); });
}

bool containsNonBlankWhitespace(QStringView text)
{
    // No white space lies outside the basic plane, so code units can be tested one by one.
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.isSpace() && !isBlank(c); });
}

bool isDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isDigit);
}

std::optional<std::int64_t> readNumber(QStringView text)
{
    if (!isDigits(text))
        return std::nullopt;
    constexpr auto maximum = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (const QChar c : text) {
        const int digit = c.unicode() - u'0';
        if (value > (maximum - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
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
