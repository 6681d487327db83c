#pragma once

namespace Tempolane {

class MainWindow;
class UpdateController;

// The window's menus, built from the window's shared commands: "Datei" with the job commands
// and the backups, "Bearbeiten" with undo and redo, and "Hilfe" with the update check and the
// About window.
void installMenus(MainWindow& window, UpdateController& updates);

} // namespace Tempolane
