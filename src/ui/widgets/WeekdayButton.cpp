#include "WeekdayButton.h"

#include "Style.h"

namespace Tempolane {

WeekdayButton::WeekdayButton(const QString& shortLabel, const QString& fullName, QWidget* parent)
    : QToolButton(parent)
{
    Style::mark(this, Style::Control::weekday);
    setText(shortLabel);
    setAccessibleName(fullName);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

} // namespace Tempolane
