#pragma once

class QFrame;

namespace Tempolane {

// A horizontal line between parts of a card: a plain frame line that the style draws.
QFrame* newDivider();

} // namespace Tempolane
