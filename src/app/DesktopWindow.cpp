#include "DesktopWindow.h"

#include "ApplicationIcon.h"
#include "MenuBar.h"

namespace Tempolane {

std::unique_ptr<MainWindow> makeDesktopWindow(CronStore& store, UpdateController& updates)
{
    auto window = std::make_unique<MainWindow>(store);
    installMenus(*window, updates);
    window->setWindowIcon(applicationIcon());
    return window;
}

} // namespace Tempolane
