#include "ToggleSwitch.h"

#include "Style.h"

namespace Tempolane {

ToggleSwitch::ToggleSwitch(const QString& text, Tint tint, QWidget* parent)
    : QCheckBox(text, parent)
{
    Style::mark(this, Style::Control::toggleSwitch, tint);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

} // namespace Tempolane
