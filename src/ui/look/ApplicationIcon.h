#pragma once

#include <QIcon>

namespace Tempolane {

// Tempolane's own icon, as installed for the desktop; bundled, so windows show it even
// before the program is installed.
QIcon applicationIcon();

} // namespace Tempolane
