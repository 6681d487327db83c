#include "LastMeaningfulLine.h"

#include "CrontabText.h"

#include <QTextBoundaryFinder>

namespace Tempolane {

namespace {

constexpr int shownCharacters = 220;

// User-perceived characters, so that a cut never parts an accent from its letter. The finder
// looks only at a generous start of a line that may be a mebibyte long.
QString firstCharacters(QStringView text, int count)
{
    text = text.first(std::min<qsizetype>(text.size(), qsizetype(count) * 16));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), int(text.size()));
    qsizetype end = 0;
    for (int i = 0; i < count && end >= 0 && end < text.size(); ++i)
        end = finder.toNextBoundary();
    return text.first(end < 0 ? text.size() : end).toString();
}

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
            return firstCharacters(line, shownCharacters);
        end = start - 1;
    }
    return std::nullopt;
}

} // namespace Tempolane
