#pragma once

class QWidget;

namespace Tempolane {

// Escape and the platform's close-window keys (Ctrl+W) close the window, as they do in the
// desktop's own dialogs and tool windows.
void closeWithKeys(QWidget* window);

} // namespace Tempolane
