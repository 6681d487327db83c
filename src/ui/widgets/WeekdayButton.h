#pragma once

#include <QToolButton>

namespace Tempolane {

// A day of the week: a checkable button that the style draws as its short label over a small
// bar, both indigo while the day is chosen. Screen readers name it by the full day name and read
// whether it is chosen.
class WeekdayButton final : public QToolButton
{
    Q_OBJECT

public:
    WeekdayButton(const QString& shortLabel, const QString& fullName, QWidget* parent = nullptr);
};

} // namespace Tempolane
