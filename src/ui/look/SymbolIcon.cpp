#include "SymbolIcon.h"

#include "SymbolIconEngine.h"

namespace Tempolane {

namespace {

struct SymbolFiles
{
    const char* regular;
    // The two-tone drawing, where the icon set has one.
    const char* duotone = nullptr;
    const char* badge = nullptr;
};

SymbolFiles filesOf(Symbol symbol)
{
    switch (symbol) {
    case Symbol::plus:
        return {"regular/plus"};
    case Symbol::plusBold:
        return {"bold/plus-bold"};
    case Symbol::arrowClockwise:
        return {"regular/arrow-clockwise"};
    case Symbol::arrowsClockwise:
        return {"regular/arrows-clockwise"};
    case Symbol::clock:
        return {"regular/clock", "duotone/clock-duotone"};
    case Symbol::history:
        return {"regular/clock-counter-clockwise", "duotone/clock-counter-clockwise-duotone"};
    case Symbol::play:
        return {"regular/play", "duotone/play-duotone"};
    case Symbol::playFill:
        return {"fill/play-fill"};
    case Symbol::pause:
        return {"regular/pause", "duotone/pause-duotone"};
    case Symbol::pauseFill:
        return {"fill/pause-fill"};
    case Symbol::warning:
        return {"regular/warning", "duotone/warning-duotone"};
    case Symbol::warningFill:
        return {"fill/warning-fill"};
    case Symbol::warningCircleFill:
        return {"fill/warning-circle-fill"};
    case Symbol::waveform:
        return {"regular/waveform"};
    case Symbol::pulse:
        return {"regular/pulse"};
    case Symbol::checkCircleFill:
        return {"fill/check-circle-fill"};
    case Symbol::clockBadgeWarning:
        return {"regular/clock", "duotone/clock-duotone", "fill/warning-circle-fill"};
    case Symbol::clockBadgeCheck:
        return {"regular/clock", "duotone/clock-duotone", "fill/check-circle-fill"};
    case Symbol::clockBadgePlus:
        return {"regular/clock", "duotone/clock-duotone", "fill/plus-circle-fill"};
    case Symbol::checkCircleBadgeQuestion:
        return {"regular/check-circle", "duotone/check-circle-duotone", "fill/question-fill"};
    case Symbol::calendar:
        return {"regular/calendar-blank", "duotone/calendar-blank-duotone"};
    case Symbol::calendarBadgeClock:
        return {"regular/calendar-blank", "duotone/calendar-blank-duotone", "fill/clock-fill"};
    case Symbol::hardDrive:
        return {"regular/hard-drive", "duotone/hard-drive-duotone"};
    case Symbol::funnel:
        return {"regular/funnel-simple"};
    case Symbol::copy:
        return {"regular/copy", "duotone/copy-duotone"};
    case Symbol::trash:
        return {"regular/trash", "duotone/trash-duotone"};
    case Symbol::terminal:
        return {"regular/terminal-window", "duotone/terminal-window-duotone"};
    case Symbol::sparkles:
        return {"regular/sparkle", "duotone/sparkle-duotone"};
    case Symbol::info:
        return {"regular/info", "duotone/info-duotone"};
    case Symbol::undo:
        return {"regular/arrow-u-up-left"};
    case Symbol::check:
        return {"regular/check"};
    case Symbol::checkBold:
        return {"bold/check-bold"};
    case Symbol::timer:
        return {"regular/timer", "duotone/timer-duotone"};
    case Symbol::sun:
        return {"regular/sun", "duotone/sun-duotone"};
    case Symbol::circle:
        return {"regular/circle"};
    }
    Q_UNREACHABLE();
}

QString resourcePath(const char* name)
{
    return name ? QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)) : QString();
}

} // namespace

QIcon symbolIcon(Symbol symbol, SymbolStyle style)
{
    const SymbolFiles files = filesOf(symbol);
    const bool twoTone = style.rendering == SymbolRendering::hierarchical && files.duotone;
    return QIcon(new SymbolIconEngine(
        {resourcePath(twoTone ? files.duotone : files.regular), resourcePath(files.badge)}, style));
}

} // namespace Tempolane
