#pragma once

#include <QString>
#include <array>

namespace Tempolane {

// How the job editor shows a schedule: as the visual form or as the cron text itself.
enum class ScheduleEditorMode
{
    visual,
    syntax
};

inline constexpr std::array<ScheduleEditorMode, 2> allScheduleEditorModes{
    ScheduleEditorMode::visual, ScheduleEditorMode::syntax};

QString title(ScheduleEditorMode mode);

} // namespace Tempolane
