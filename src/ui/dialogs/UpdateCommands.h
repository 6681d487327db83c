#pragma once

#include "UpdateCheckOutcome.h"

class QAction;
class QPushButton;
class QWidget;

namespace Tempolane {

struct AppVersion;
class UpdateController;

// "Nach Updates suchen …" as a menu action of a window and as a button. Each is enabled only
// while the controller can check, and shows the outcome of the check it starts over its own
// window.
QAction* makeCheckForUpdatesAction(UpdateController& controller, QWidget* window);
QPushButton* makeCheckForUpdatesButton(UpdateController& controller, QWidget* parent = nullptr);

// The offer with its download page, the news that the installed version is the newest, or
// why the check failed.
void showUpdateOutcome(QWidget* window, const UpdateCheckOutcome& outcome,
                       const AppVersion& installed);

} // namespace Tempolane
