#include "LineDiff.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace Tempolane {

namespace {

// The furthest points of every round are kept to walk back: beyond this many edits that
// would take more memory than comparing two crontabs deserves.
constexpr int maximumEdits = 1000;

enum class Step : char
{
    keep,
    remove,
    add
};

// Each line with its line feed, so that a last line without one differs from the same line
// with one.
QStringList linesOf(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype feed = text.indexOf(u'\n', start);
        const qsizetype end = feed < 0 ? text.size() : feed + 1;
        lines.append(text.sliced(start, end - start));
        start = end;
    }
    return lines;
}

DiffLine lineOf(DiffLine::Kind kind, const QString& line)
{
    const bool endsWithLineFeed = line.endsWith(u'\n');
    return {kind, endsWithLineFeed ? line.chopped(1) : line, endsWithLineFeed};
}

// rounds[d] holds, for every diagonal k in [-d, d], the furthest x that d edits reach.
std::vector<Step> walkBack(const std::vector<std::vector<int>>& rounds, int edits, int x, int y)
{
    std::vector<Step> steps;
    for (int d = edits; d > 0; --d) {
        const std::vector<int>& previous = rounds[size_t(d - 1)];
        const auto furthest = [&](int k) { return previous[size_t(k + d - 1)]; };
        const int k = x - y;
        const bool isAdd = k == -d || (k != d && furthest(k - 1) < furthest(k + 1));
        const int previousK = isAdd ? k + 1 : k - 1;
        const int previousX = furthest(previousK);
        const int afterEditX = isAdd ? previousX : previousX + 1;
        for (; x > afterEditX; --x, --y)
            steps.push_back(Step::keep);
        steps.push_back(isAdd ? Step::add : Step::remove);
        x = previousX;
        y = previousX - previousK;
    }
    for (; x > 0; --x)
        steps.push_back(Step::keep);
    std::reverse(steps.begin(), steps.end());
    return steps;
}

// Myers' greedy search for a shortest edit script; nothing when it needs more than
// maximumEdits edits.
std::optional<std::vector<Step>> shortestEdit(std::span<const QString> from,
                                              std::span<const QString> to)
{
    const int n = int(from.size());
    const int m = int(to.size());
    const int limit = std::min(n + m, maximumEdits);
    const int offset = limit + 1;
    std::vector<int> furthest(size_t(2 * limit + 3), 0);
    std::vector<std::vector<int>> rounds;
    for (int d = 0; d <= limit; ++d) {
        for (int k = -d; k <= d; k += 2) {
            const bool isAdd = k == -d || (k != d && furthest[size_t(offset + k - 1)] <
                                                         furthest[size_t(offset + k + 1)]);
            int x = isAdd ? furthest[size_t(offset + k + 1)] : furthest[size_t(offset + k - 1)] + 1;
            int y = x - k;
            while (x < n && y < m && from[size_t(x)] == to[size_t(y)]) {
                ++x;
                ++y;
            }
            furthest[size_t(offset + k)] = x;
            if (x >= n && y >= m)
                return walkBack(rounds, d, n, m);
        }
        rounds.emplace_back(furthest.begin() + offset - d, furthest.begin() + offset + d + 1);
    }
    return std::nullopt;
}

// Within every run of edits the removals go first, as readers of a diff expect.
void removalsFirst(std::vector<Step>& steps)
{
    auto run = steps.begin();
    while (run != steps.end()) {
        run = std::find_if(run, steps.end(), [](Step step) { return step != Step::keep; });
        const auto end = std::find(run, steps.end(), Step::keep);
        std::stable_partition(run, end, [](Step step) { return step == Step::remove; });
        run = end;
    }
}

QString range(qsizetype start, qsizetype count)
{
    return count == 1 ? QString::number(start) : QStringLiteral("%1,%2").arg(start).arg(count);
}

} // namespace

QString DiffHunk::header() const
{
    return QStringLiteral("@@ -%1 +%2 @@")
        .arg(range(fromStart, fromCount), range(toStart, toCount));
}

LineDiff LineDiff::between(const QString& from, const QString& to)
{
    const QStringList fromLines = linesOf(from);
    const QStringList toLines = linesOf(to);
    qsizetype prefix = 0;
    while (prefix < fromLines.size() && prefix < toLines.size() &&
           fromLines[prefix] == toLines[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < fromLines.size() - prefix && suffix < toLines.size() - prefix &&
           fromLines[fromLines.size() - 1 - suffix] == toLines[toLines.size() - 1 - suffix])
        ++suffix;
    const std::span<const QString> fromMiddle(fromLines.constData() + prefix,
                                              size_t(fromLines.size() - prefix - suffix));
    const std::span<const QString> toMiddle(toLines.constData() + prefix,
                                            size_t(toLines.size() - prefix - suffix));

    std::vector<Step> steps;
    if (auto shortest = shortestEdit(fromMiddle, toMiddle)) {
        steps = *std::move(shortest);
    } else {
        steps.assign(fromMiddle.size(), Step::remove);
        steps.insert(steps.end(), toMiddle.size(), Step::add);
    }
    removalsFirst(steps);

    LineDiff diff;
    for (qsizetype i = 0; i < prefix; ++i)
        diff.m_lines.append(lineOf(DiffLine::Kind::unchanged, fromLines[i]));
    size_t x = 0;
    size_t y = 0;
    for (const Step step : steps) {
        switch (step) {
        case Step::keep:
            diff.m_lines.append(lineOf(DiffLine::Kind::unchanged, fromMiddle[x++]));
            ++y;
            break;
        case Step::remove:
            diff.m_lines.append(lineOf(DiffLine::Kind::removed, fromMiddle[x++]));
            ++diff.m_removedCount;
            break;
        case Step::add:
            diff.m_lines.append(lineOf(DiffLine::Kind::added, toMiddle[y++]));
            ++diff.m_addedCount;
            break;
        }
    }
    for (qsizetype i = fromLines.size() - suffix; i < fromLines.size(); ++i)
        diff.m_lines.append(lineOf(DiffLine::Kind::unchanged, fromLines[i]));
    return diff;
}

QList<DiffHunk> LineDiff::hunks(qsizetype context) const
{
    const qsizetype count = m_lines.size();
    const auto isChange = [&](qsizetype i) { return m_lines[i].kind != DiffLine::Kind::unchanged; };
    QList<DiffHunk> hunks;
    qsizetype fromLine = 0;
    qsizetype toLine = 0;
    qsizetype position = 0;
    qsizetype next = 0;
    while (true) {
        while (next < count && !isChange(next))
            ++next;
        if (next == count)
            break;
        // Take in the following changes while the unchanged lines between them would be
        // shown as context anyway.
        qsizetype end = next;
        while (true) {
            while (end < count && isChange(end))
                ++end;
            qsizetype following = end;
            while (following < count && !isChange(following))
                ++following;
            if (following == count || following - end > 2 * context)
                break;
            end = following;
        }
        const qsizetype start = std::max(position, next - context);
        const qsizetype stop = std::min(count, end + context);
        for (; position < start; ++position) {
            ++fromLine;
            ++toLine;
        }
        DiffHunk hunk;
        for (qsizetype i = start; i < stop; ++i) {
            const DiffLine& line = m_lines[i];
            hunk.lines.append(line);
            hunk.fromCount += line.kind != DiffLine::Kind::added ? 1 : 0;
            hunk.toCount += line.kind != DiffLine::Kind::removed ? 1 : 0;
        }
        hunk.fromStart = fromLine + (hunk.fromCount > 0 ? 1 : 0);
        hunk.toStart = toLine + (hunk.toCount > 0 ? 1 : 0);
        fromLine += hunk.fromCount;
        toLine += hunk.toCount;
        position = stop;
        next = stop;
        hunks.append(std::move(hunk));
    }
    return hunks;
}

} // namespace Tempolane
