#pragma once

#include <QList>
#include <QString>

namespace Tempolane {

// One line of a comparison between two texts.
struct DiffLine
{
    enum class Kind
    {
        unchanged,
        removed,
        added
    };

    Kind kind = Kind::unchanged;
    // Without its line feed.
    QString text;
    // False only for a last line that has none.
    bool endsWithLineFeed = true;

    friend bool operator==(const DiffLine&, const DiffLine&) = default;
};

// Changed lines with the unchanged lines around them, placed as a unified diff places them:
// starts are 1-based, and an empty side starts at the line before it.
struct DiffHunk
{
    qsizetype fromStart = 0;
    qsizetype fromCount = 0;
    qsizetype toStart = 0;
    qsizetype toCount = 0;
    QList<DiffLine> lines;

    // "@@ -3,4 +3,5 @@"; a count of one is left out.
    QString header() const;

    friend bool operator==(const DiffHunk&, const DiffHunk&) = default;
};

// The lines that turn one text into another by a shortest edit script. Lines end at line feeds
// only; a carriage return belongs to its line.
class LineDiff final
{
public:
    static constexpr qsizetype defaultContext = 3;

    static LineDiff between(const QString& from, const QString& to);

    // Every line of both texts in order; where lines were replaced, the removed ones come first.
    const QList<DiffLine>& lines() const { return m_lines; }
    qsizetype addedCount() const { return m_addedCount; }
    qsizetype removedCount() const { return m_removedCount; }
    bool hasChanges() const { return m_addedCount + m_removedCount > 0; }

    // Hunks whose context would touch or overlap are one.
    QList<DiffHunk> hunks(qsizetype context = defaultContext) const;

private:
    QList<DiffLine> m_lines;
    qsizetype m_addedCount = 0;
    qsizetype m_removedCount = 0;
};

} // namespace Tempolane
