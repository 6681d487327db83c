#pragma once

#include <QPointer>
#include <functional>

namespace Tempolane {

// One window of a kind at a time: the first call makes it with `make` (which opens it), later
// calls bring the one still open to the front.
template <typename Window>
void showSingleWindow(QPointer<Window>& window, const std::function<Window*()>& make)
{
    if (!window)
        window = make();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace Tempolane
