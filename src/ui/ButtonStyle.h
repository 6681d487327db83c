#pragma once

#include "Tint.h"

class QAbstractButton;

// How a button stands out, in one of the named colours; the colours follow a switch between
// light and dark.
namespace Tempolane::ButtonStyle {

// Filled with the tint, white text: the one action a panel suggests.
void makeProminent(QAbstractButton* button, Tint tint);
// No frame, text in the tint: the quiet alternative beside a prominent button.
void makePlain(QAbstractButton* button, Tint tint);

} // namespace Tempolane::ButtonStyle
