#pragma once

#include "MainWindow.h"

#include <memory>

namespace Tempolane {

class UpdateController;

// The main window as the program shows it: with its menus and the application's icon.
std::unique_ptr<MainWindow> makeDesktopWindow(CronStore& store, UpdateController& updates);

} // namespace Tempolane
