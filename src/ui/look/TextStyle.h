#pragma once

#include <QFont>

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

} // namespace Tempolane
