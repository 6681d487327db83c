#pragma once

namespace Tempolane {

// The colours the views name. The accent tints have one value per scheme; `primary`,
// `secondary` and `tertiary` are the text colour at decreasing strength.
enum class Tint
{
    primary,
    secondary,
    tertiary,
    indigo,
    cyan,
    mint,
    green,
    orange,
    red
};

} // namespace Tempolane
