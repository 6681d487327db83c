#include "LastMeaningfulLine.h"

#include "CrontabText.h"
#include "UserCharacters.h"

namespace Tempolane {

namespace {

constexpr int shownCharacters = 220;

} // namespace

std::optional<QString> lastMeaningfulLine(QStringView output)
{
    // From the end: an output may be a mebibyte long, its last line is what counts.
    for (qsizetype end = output.size(); end > 0;) {
        qsizetype start = end;
        while (start > 0 && !CrontabText::isLineBreak(output[start - 1]))
            --start;
        const QStringView line =
            CrontabText::trimmedSpacesAndTabs(output.sliced(start, end - start));
        if (!line.isEmpty())
            return UserCharacters::leading(line, shownCharacters);
        end = start - 1;
    }
    return std::nullopt;
}

} // namespace Tempolane
