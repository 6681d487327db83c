#pragma once

#include "Symbol.h"
#include "VisualSchedule.h"

#include <QList>
#include <QWidget>
#include <optional>

class QComboBox;
class QFormLayout;
class QSpinBox;
class QTimeEdit;

namespace Tempolane {

class SpringContainer;
class WeekdayButton;

// Edits a visual schedule without cron syntax: a frequency picker and, below it, only the rows
// that frequency uses. It reports every change the user makes and shows whatever value it is
// given; fields the frequency does not use keep their values.
class VisualScheduleEditor final : public QWidget
{
    Q_OBJECT

public:
    explicit VisualScheduleEditor(QList<int> minuteIntervals, QWidget* parent = nullptr);

    // Shows the value without reporting it.
    void setSchedule(const VisualSchedule& schedule);

Q_SIGNALS:
    void scheduleEdited(const Tempolane::VisualSchedule& schedule);

private:
    QWidget* weekdayRow();
    void edit(const VisualSchedule& schedule);
    // Shows the parts of the schedule that differ from `before`; everything without it.
    void showSchedule(const std::optional<VisualSchedule>& before);
    void showWeekdays();

    QList<int> m_minuteIntervals;
    VisualSchedule m_schedule;
    QComboBox* m_frequency;
    QComboBox* m_interval;
    QSpinBox* m_startMinute;
    QTimeEdit* m_time;
    QSpinBox* m_dayOfMonth;
    QList<WeekdayButton*> m_weekdayButtons;
    QFormLayout* m_rows;
    QWidget* m_weekdaysRow;
    SpringContainer* m_spring;
};

} // namespace Tempolane
