#pragma once

#include "LineDiff.h"
#include "Tint.h"

#include <QList>
#include <QString>

namespace Tempolane {

// One line of a diff as a view shows it: the changed lines marked and coloured, the unchanged
// ones around them plain, and a gap wherever unchanged lines are left out.
struct ShownDiffLine
{
    enum class Kind
    {
        unchanged,
        removed,
        added,
        gap,
        // The line above has no line feed.
        noLineFeed
    };

    Kind kind = Kind::unchanged;
    QString text;
    Tint tint = Tint::primary;

    friend bool operator==(const ShownDiffLine&, const ShownDiffLine&) = default;
};

// The hunks of the diff with three lines of context each; control characters but tabs are
// shown as escapes.
QList<ShownDiffLine> shownDiff(const LineDiff& diff);

// "+2 −1", or "unverändert".
QString differenceText(const LineDiff& diff);

} // namespace Tempolane
