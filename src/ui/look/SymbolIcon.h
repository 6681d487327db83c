#pragma once

#include "Symbol.h"

#include <QIcon>

namespace Tempolane {

// An icon that takes its colours from the application palette whenever it is painted, so it
// follows a switch between light and dark; disabled icons are dimmed.
QIcon symbolIcon(Symbol symbol, SymbolStyle style = {});

} // namespace Tempolane
