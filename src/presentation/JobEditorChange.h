#pragma once

#include <QFlags>

namespace Tempolane {

// The parts of the job editor an edit or new inputs changed, so a view updates only those.
enum class JobEditorChange : unsigned
{
    name = 1U << 0,       // the name and its message
    title = 1U << 1,      // "Neuer Cronjob", the name, or the command's fallback name
    enabled = 1U << 2,    // the job's on/off switch
    editorMode = 1U << 3, // visual form or cron text
    visualSchedule = 1U << 4,
    schedule = 1U << 5,          // the expression, its message, description and next runs
    command = 1U << 6,           // the command and its message
    executionSettings = 1U << 7, // monitoring on or off, log policy, compatibility issue
    unsavedChanges = 1U << 8,    // and the note that the crontab changed outside meanwhile
    canSave = 1U << 9,
    saving = 1U << 10,
    executionStatus = 1U << 11, // the job's last state, its next run, a run in progress
    history = 1U << 12,
    // The clock may have moved on: texts dated from now are due again.
    time = 1U << 13,
    // Another job: the editor starts over, scrolled to the top and folded.
    restarted = 1U << 14,
};
Q_DECLARE_FLAGS(JobEditorChanges, JobEditorChange)
Q_DECLARE_OPERATORS_FOR_FLAGS(JobEditorChanges)

inline constexpr JobEditorChanges everyJobEditorPart = JobEditorChanges::fromInt(~0U);

} // namespace Tempolane
