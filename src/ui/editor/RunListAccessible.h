#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace Tempolane {

// How a screen reader meets the run history: a list whose rows are named by their start time
// and state, say whether they are unfolded, and unfold or fold with their Press action. Qt's
// own list items offer only a selection toggle, which this list does not use.
QAccessibleInterface* runListAccessible(const QString& className, QObject* object);

} // namespace Tempolane
