#pragma once

#include "Tint.h"

#include <QCheckBox>

namespace Tempolane {

// An on/off switch with its label in front, filled with its tint while on: a check box that the
// style draws as a switch, so screen readers read it as a check box named by its label.
class ToggleSwitch final : public QCheckBox
{
    Q_OBJECT

public:
    ToggleSwitch(const QString& text, Tint tint, QWidget* parent = nullptr);
};

} // namespace Tempolane
