#pragma once

#include "MainWindow.h"

#include <memory>

namespace Tempolane {

// The main window as the program shows it: with its menus and the application's icon.
std::unique_ptr<MainWindow> makeDesktopWindow(CronStore& store);

} // namespace Tempolane
