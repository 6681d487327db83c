#include "ShortcutText.h"

namespace Tempolane {

QString withShortcut(const QString& text, const QKeySequence& shortcut)
{
    return QStringLiteral("%1 (%2)").arg(text, shortcut.toString(QKeySequence::NativeText));
}

} // namespace Tempolane
