#include "DesktopWindow.h"

#include "MenuBar.h"
#include "SymbolIcon.h"

namespace Tempolane {

std::unique_ptr<MainWindow> makeDesktopWindow(CronStore& store)
{
    auto window = std::make_unique<MainWindow>(store);
    installMenus(*window);
    window->setWindowIcon(symbolIcon(Symbol::clockBadgeCheck,
                                     {Tint::cyan, SymbolRendering::hierarchical, Tint::indigo}));
    return window;
}

} // namespace Tempolane
