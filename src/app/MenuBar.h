#pragma once

namespace Tempolane {

class MainWindow;

// The window's menus, built from the window's shared commands.
void installMenus(MainWindow& window);

} // namespace Tempolane
