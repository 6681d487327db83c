#pragma once

class QWidget;

namespace Tempolane {

// Pickers, spin boxes and time fields under `root` change by the mouse wheel only while they
// have the keyboard: a wheel turned over a form scrolls the form, and never edits whatever
// control passes under the pointer. A click or Tab still gives them the keyboard.
void takeWheelOnlyWithFocus(QWidget* root);

} // namespace Tempolane
