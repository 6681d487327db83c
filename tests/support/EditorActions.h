#pragma once

#include "JobEditorView.h"

namespace Tempolane::Testing {

// Every action the editor offers, doing nothing: for tests of what the editor shows.
inline JobEditorView::Actions idleEditorActions()
{
    JobEditorView::Actions actions;
    actions.save = [](const CronJob&) {};
    actions.runNow = [] {};
    actions.clearHistory = [] {};
    actions.remove = [] {};
    actions.duplicate = [] {};
    return actions;
}

} // namespace Tempolane::Testing
