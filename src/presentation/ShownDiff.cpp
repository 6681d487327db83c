#include "ShownDiff.h"

#include "CrontabText.h"

#include <QCoreApplication>

namespace Tempolane {

namespace {

ShownDiffLine shown(const DiffLine& line)
{
    const QString text = CrontabText::printable(line.text, CrontabText::Tabs::kept);
    switch (line.kind) {
    case DiffLine::Kind::unchanged:
        return {ShownDiffLine::Kind::unchanged, QStringLiteral("  ") + text, Tint::primary};
    case DiffLine::Kind::removed:
        return {ShownDiffLine::Kind::removed, QStringLiteral("\u2212 ") + text, Tint::red};
    case DiffLine::Kind::added:
        return {ShownDiffLine::Kind::added, QStringLiteral("+ ") + text, Tint::green};
    }
    Q_UNREACHABLE();
}

ShownDiffLine gap()
{
    return {ShownDiffLine::Kind::gap, QStringLiteral("\u22ef"), Tint::tertiary};
}

// Unchanged lines of the old text before the hunk.
qsizetype linesBefore(const DiffHunk& hunk)
{
    return hunk.fromCount > 0 ? hunk.fromStart - 1 : hunk.fromStart;
}

} // namespace

QList<ShownDiffLine> shownDiff(const LineDiff& diff)
{
    const QList<DiffHunk> hunks = diff.hunks();
    if (hunks.isEmpty())
        return {};
    const qsizetype oldLineCount =
        std::count_if(diff.lines().cbegin(), diff.lines().cend(),
                      [](const DiffLine& line) { return line.kind != DiffLine::Kind::added; });

    QList<ShownDiffLine> lines;
    if (linesBefore(hunks.front()) > 0)
        lines.append(gap());
    for (const DiffHunk& hunk : hunks) {
        if (&hunk != &hunks.front())
            lines.append(gap());
        for (const DiffLine& line : hunk.lines) {
            lines.append(shown(line));
            if (!line.endsWithLineFeed)
                lines.append(
                    {ShownDiffLine::Kind::noLineFeed,
                     QCoreApplication::translate("ShownDiff", "Kein Zeilenumbruch am Dateiende"),
                     Tint::secondary});
        }
    }
    const DiffHunk& last = hunks.back();
    if (linesBefore(last) + last.fromCount < oldLineCount)
        lines.append(gap());
    return lines;
}

QString differenceText(const LineDiff& diff)
{
    if (!diff.hasChanges())
        return QCoreApplication::translate("ShownDiff", "unverändert");
    return QStringLiteral("+%1 \u2212%2").arg(diff.addedCount()).arg(diff.removedCount());
}

} // namespace Tempolane
