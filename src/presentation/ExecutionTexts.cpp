#include "ExecutionTexts.h"

#include "UserCharacters.h"

#include <QCoreApplication>
#include <cmath>

namespace Tempolane::ExecutionTexts {

namespace {

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
    case u'\r':
    case u'\v':
    case u'\f':
    case 0x0085: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

QStringView trimmedSpacesAndTabs(QStringView text)
{
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

} // namespace

QString durationText(double seconds)
{
    constexpr qint64 minute = 60;
    seconds = std::max(seconds, 0.0);
    if (seconds < minute) {
        return QCoreApplication::translate("ExecutionEditor", "%1 Sek.")
            .arg(qint64(std::round(seconds)));
    }
    const auto whole = qint64(seconds);
    return QCoreApplication::translate("ExecutionEditor", "%1 Min. %2 Sek.")
        .arg(whole / minute)
        .arg(whole % minute);
}

std::optional<QString> lastMeaningfulLine(QStringView output)
{
    qsizetype end = output.size();
    while (end > 0) {
        qsizetype start = end;
        while (start > 0 && !isLineBreak(output[start - 1]))
            --start;
        const QStringView line = trimmedSpacesAndTabs(output.sliced(start, end - start));
        if (!line.isEmpty())
            return UserCharacters::leading(line.toString(), maximumDetailLength);
        end = start - 1;
    }
    return std::nullopt;
}

} // namespace Tempolane::ExecutionTexts
