#include "LineDiff.h"

#include <QHash>
#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace Tempolane {

namespace {

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

// Lines as numbers, equal lines alike, so that the search compares integers.
struct NumberedLines
{
    std::vector<int> from;
    std::vector<int> to;
    int distinctCount = 0;
};

NumberedLines numbered(const QStringList& from, const QStringList& to)
{
    QHash<QString, int> numbers;
    numbers.reserve(from.size() + to.size());
    const auto numberAll = [&numbers](const QStringList& lines) {
        std::vector<int> result;
        result.reserve(size_t(lines.size()));
        for (const QString& line : lines) {
            auto found = numbers.constFind(line);
            if (found == numbers.cend())
                found = numbers.insert(line, int(numbers.size()));
            result.push_back(*found);
        }
        return result;
    };
    NumberedLines result{numberAll(from), numberAll(to), 0};
    result.distinctCount = int(numbers.size());
    return result;
}

// Myers' search for a shortest edit script in linear space: the middle snake of each part
// splits it in two parts that are searched the same way.
class ShortestEdit final
{
public:
    // Beyond this many steps of the search (texts of hundreds of thousands of lines that have
    // little in common) the rest is replaced whole: far longer than any crontab would take.
    static constexpr qint64 searchBudget = qint64(2) * 1000 * 1000 * 1000;

    ShortestEdit(std::span<const int> from, std::span<const int> to)
        : m_forward(from.size() + to.size() + 3), m_backward(m_forward.size())
    {
        m_steps.reserve(from.size() + to.size());
        compare(from, to);
    }

    std::vector<Step> take() { return std::move(m_steps); }

private:
    void compare(std::span<const int> from, std::span<const int> to)
    {
        size_t prefix = 0;
        while (prefix < from.size() && prefix < to.size() && from[prefix] == to[prefix])
            ++prefix;
        m_steps.insert(m_steps.end(), prefix, Step::keep);
        from = from.subspan(prefix);
        to = to.subspan(prefix);
        size_t suffix = 0;
        while (suffix < from.size() && suffix < to.size() &&
               from[from.size() - 1 - suffix] == to[to.size() - 1 - suffix])
            ++suffix;
        from = from.first(from.size() - suffix);
        to = to.first(to.size() - suffix);

        const auto split = from.empty() || to.empty() ? std::nullopt : middle(from, to);
        if (split) {
            compare(from.first(split->first), to.first(split->second));
            compare(from.subspan(split->first), to.subspan(split->second));
        } else {
            m_steps.insert(m_steps.end(), from.size(), Step::remove);
            m_steps.insert(m_steps.end(), to.size(), Step::add);
        }
        m_steps.insert(m_steps.end(), suffix, Step::keep);
    }

    // A point on a shortest path through the middle; nothing where the texts share no line
    // or the search budget is spent, so that the part is replaced whole.
    std::optional<std::pair<size_t, size_t>> middle(std::span<const int> from,
                                                    std::span<const int> to)
    {
        const int n = int(from.size());
        const int m = int(to.size());
        const int maxD = (n + m + 1) / 2;
        const int offset = maxD;
        // The furthest x on each diagonal, forward from the start and backward from the end
        // (counted from the end); -1 where no path has arrived.
        std::fill_n(m_forward.begin(), 2 * maxD + 2, -1);
        std::fill_n(m_backward.begin(), 2 * maxD + 2, -1);
        m_forward[size_t(offset + 1)] = 0;
        m_backward[size_t(offset + 1)] = 0;
        const int delta = n - m;
        // With an odd difference the paths meet on a forward step, else on a backward one.
        const bool meetsForward = delta % 2 != 0;
        // Diagonals that ran off an edge are not searched again.
        int forwardStart = 0;
        int forwardEnd = 0;
        int backwardStart = 0;
        int backwardEnd = 0;
        for (int d = 0; d < maxD; ++d) {
            m_spent += d + 1;
            if (m_spent > searchBudget)
                return std::nullopt;
            for (int k = -d + forwardStart; k <= d - forwardEnd; k += 2) {
                const size_t at = size_t(offset + k);
                int x = k == -d || (k != d && m_forward[at - 1] < m_forward[at + 1])
                            ? m_forward[at + 1]
                            : m_forward[at - 1] + 1;
                int y = x - k;
                while (x < n && y < m && from[size_t(x)] == to[size_t(y)]) {
                    ++x;
                    ++y;
                }
                m_forward[at] = x;
                if (x > n) {
                    forwardEnd += 2;
                } else if (y > m) {
                    forwardStart += 2;
                } else if (meetsForward) {
                    const int back = offset + delta - k;
                    if (back >= 0 && back < 2 * maxD + 2 && m_backward[size_t(back)] != -1 &&
                        x >= n - m_backward[size_t(back)])
                        return std::pair{size_t(x), size_t(y)};
                }
            }
            for (int k = -d + backwardStart; k <= d - backwardEnd; k += 2) {
                const size_t at = size_t(offset + k);
                int x = k == -d || (k != d && m_backward[at - 1] < m_backward[at + 1])
                            ? m_backward[at + 1]
                            : m_backward[at - 1] + 1;
                int y = x - k;
                while (x < n && y < m && from[size_t(n - x - 1)] == to[size_t(m - y - 1)]) {
                    ++x;
                    ++y;
                }
                m_backward[at] = x;
                if (x > n) {
                    backwardEnd += 2;
                } else if (y > m) {
                    backwardStart += 2;
                } else if (!meetsForward) {
                    const int ahead = offset + delta - k;
                    if (ahead >= 0 && ahead < 2 * maxD + 2 && m_forward[size_t(ahead)] != -1) {
                        const int forwardX = m_forward[size_t(ahead)];
                        if (forwardX >= n - x)
                            return std::pair{size_t(forwardX), size_t(forwardX - (ahead - offset))};
                    }
                }
            }
        }
        return std::nullopt;
    }

    std::vector<int> m_forward;
    std::vector<int> m_backward;
    std::vector<Step> m_steps;
    qint64 m_spent = 0;
};

// A line that the other text does not hold at all is removed or added in every shortest
// script, so only the others are searched: a text rewritten in many places costs as much as
// the lines the two texts share.
std::vector<Step> shortestEdit(const NumberedLines& lines)
{
    std::vector<char> inFrom(size_t(lines.distinctCount), 0);
    std::vector<char> inTo(size_t(lines.distinctCount), 0);
    for (const int line : lines.from)
        inFrom[size_t(line)] = 1;
    for (const int line : lines.to)
        inTo[size_t(line)] = 1;
    std::vector<int> from;
    std::vector<int> to;
    std::vector<size_t> fromIndex;
    std::vector<size_t> toIndex;
    for (size_t i = 0; i < lines.from.size(); ++i) {
        if (inTo[size_t(lines.from[i])]) {
            from.push_back(lines.from[i]);
            fromIndex.push_back(i);
        }
    }
    for (size_t j = 0; j < lines.to.size(); ++j) {
        if (inFrom[size_t(lines.to[j])]) {
            to.push_back(lines.to[j]);
            toIndex.push_back(j);
        }
    }

    std::vector<Step> steps;
    steps.reserve(lines.from.size() + lines.to.size());
    size_t x = 0;
    size_t y = 0;
    const auto editUpTo = [&](size_t fromEnd, size_t toEnd) {
        steps.insert(steps.end(), fromEnd - x, Step::remove);
        steps.insert(steps.end(), toEnd - y, Step::add);
    };
    // Positions in the searched lines; between two kept lines everything else is edited.
    size_t searchedFrom = 0;
    size_t searchedTo = 0;
    for (const Step step : ShortestEdit(from, to).take()) {
        if (step == Step::remove) {
            ++searchedFrom;
        } else if (step == Step::add) {
            ++searchedTo;
        } else {
            editUpTo(fromIndex[searchedFrom], toIndex[searchedTo]);
            steps.push_back(Step::keep);
            x = fromIndex[searchedFrom++] + 1;
            y = toIndex[searchedTo++] + 1;
        }
    }
    editUpTo(lines.from.size(), lines.to.size());
    return steps;
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
    std::vector<Step> steps = shortestEdit(numbered(fromLines, toLines));
    removalsFirst(steps);

    LineDiff diff;
    diff.m_lines.reserve(qsizetype(steps.size()));
    qsizetype x = 0;
    qsizetype y = 0;
    for (const Step step : steps) {
        switch (step) {
        case Step::keep:
            diff.m_lines.append(lineOf(DiffLine::Kind::unchanged, fromLines[x++]));
            ++y;
            break;
        case Step::remove:
            diff.m_lines.append(lineOf(DiffLine::Kind::removed, fromLines[x++]));
            ++diff.m_removedCount;
            break;
        case Step::add:
            diff.m_lines.append(lineOf(DiffLine::Kind::added, toLines[y++]));
            ++diff.m_addedCount;
            break;
        }
    }
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
