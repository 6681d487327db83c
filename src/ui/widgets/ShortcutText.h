#pragma once

#include <QKeySequence>
#include <QString>

namespace Tempolane {

// A tooltip with the shortcut as the platform writes it: "Strg+N" on a German Linux desktop,
// "⌘N" on a Mac.
QString withShortcut(const QString& text, const QKeySequence& shortcut);

} // namespace Tempolane
