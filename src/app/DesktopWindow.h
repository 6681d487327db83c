#pragma once

#include "MainWindow.h"

#include <chrono>
#include <memory>

namespace Tempolane {

class UpdateController;

// The main window as the program shows it: with its menus (the icon is the application's).
std::unique_ptr<MainWindow> makeDesktopWindow(CronStore& store, UpdateController& updates);

// The window as the program opens it. Reading the crontab starts first, so the read runs while
// the window is built, and the window appears once the jobs are there: its first frame lists
// them instead of an empty list that fills a moment later. A slow read shows it after
// `longestWait`. With `layout`, the window opens as it was left and leaves its layout there
// when the program quits.
std::unique_ptr<MainWindow>
openDesktopWindow(CronStore& store, UpdateController& updates, QSettings* layout,
                  std::chrono::milliseconds longestWait = std::chrono::milliseconds(250));

} // namespace Tempolane
