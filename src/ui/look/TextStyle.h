#pragma once

#include <QFont>

class QWidget;

namespace Tempolane {

// The named text sizes the views use, from largest to smallest.
enum class TextStyle
{
    title,
    title3,
    headline,
    subheadline,
    body,
    caption,
    caption2
};

// Every style is a size of the desktop's own font, so the window follows the user's font
// settings; `monospaced` takes the desktop's fixed-width font at the same size.
QFont styledFont(TextStyle style, bool monospaced = false);

// The side of a symbol drawn beside text of the style, in device-independent pixels.
int symbolSide(TextStyle style);

// Code (a cron expression, a command, a path, a run's output) reads left to right in every
// layout: in a right-to-left one the bidi algorithm would reorder the fields of an expression
// and move a path's leading slash to its end.
void keepLeftToRight(QWidget* widget);

} // namespace Tempolane
