#pragma once

#include "Tint.h"

#include <optional>

namespace Tempolane {

// The pictures the views name, drawn from the bundled icon set.
enum class Symbol
{
    plus,
    plusBold,
    arrowClockwise,
    arrowsClockwise,
    clock,
    history,
    play,
    playFill,
    pause,
    pauseFill,
    warning,
    warningFill,
    warningCircleFill,
    waveform,
    pulse,
    checkCircleFill,
    clockBadgeWarning,
    clockBadgeCheck,
    clockBadgePlus,
    checkCircleBadgeQuestion,
    calendar,
    calendarBadgeClock,
    hardDrive,
    funnel,
    copy,
    trash,
    terminal,
    sparkles,
    info,
    undo,
    check,
    checkBold,
    timer,
    sun,
    circle
};

// Hierarchical draws the symbol's secondary shapes in a lighter layer of the tint, where the
// icon set has one.
enum class SymbolRendering
{
    monochrome,
    hierarchical
};

struct SymbolStyle
{
    SymbolStyle(Tint tint = Tint::primary, SymbolRendering rendering = SymbolRendering::monochrome,
                std::optional<Tint> secondTint = std::nullopt)
        : tint(tint), rendering(rendering), secondTint(secondTint)
    {
    }

    Tint tint;
    SymbolRendering rendering;
    // A second colour for the lighter layer and the badge; the tint when absent.
    std::optional<Tint> secondTint;
};

} // namespace Tempolane
