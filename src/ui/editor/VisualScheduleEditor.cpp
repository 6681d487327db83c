#include "VisualScheduleEditor.h"

#include "CaptionForm.h"
#include "SpringContainer.h"
#include "SymbolIcon.h"
#include "TimeField.h"
#include "VisualScheduleChoices.h"
#include "WeekdayButton.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpacerItem>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace Tempolane {

namespace Choices = VisualScheduleChoices;

namespace {

constexpr int pickerWidth = 170;
constexpr int startMinuteWidth = 150;
constexpr int dayOfMonthWidth = 140;
constexpr int partSpacing = 16;
constexpr int contentOffset = 2;
constexpr int rowSpacing = 18;
constexpr int weekdaySpacing = 14;

template <typename Control>
Control* named(Control* control, const char* objectName, const QString& accessibleName)
{
    control->setObjectName(QString::fromLatin1(objectName));
    control->setAccessibleName(accessibleName);
    // A spin box types into a line edit of its own, which takes the focus: it answers to the
    // same name.
    if (auto* text = control->template findChild<QLineEdit*>())
        text->setAccessibleName(accessibleName);
    return control;
}

} // namespace

VisualScheduleEditor::VisualScheduleEditor(QList<int> minuteIntervals, QWidget* parent)
    : QWidget(parent), m_minuteIntervals(std::move(minuteIntervals)),
      m_frequency(named(new QComboBox, "frequencyPicker", tr("Wiederholung"))),
      m_interval(named(new QComboBox, "intervalPicker", tr("Intervall"))),
      m_startMinute(named(new QSpinBox, "startMinuteStepper", tr("Startminute"))),
      m_time(named(new TimeField, "timePicker", tr("Uhrzeit"))),
      m_dayOfMonth(named(new QSpinBox, "dayOfMonthStepper", tr("Kalendertag")))
{
    for (const ScheduleFrequency frequency : allScheduleFrequencies)
        m_frequency->addItem(symbolIcon(Choices::frequencySymbol(frequency), {Tint::indigo}),
                             title(frequency), int(frequency));
    setLeastWidth(m_frequency, pickerWidth);
    // Its entries change with the schedule; its width follows them.
    m_interval->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    m_startMinute->setRange(0, Choices::lastMinute);
    m_startMinute->setPrefix(Choices::startMinutePrefix());
    setLeastWidth(m_startMinute, startMinuteWidth);
    m_dayOfMonth->setRange(Choices::firstDayOfMonth, Choices::lastDayOfMonth);
    m_dayOfMonth->setPrefix(Choices::dayOfMonthPrefix());
    m_dayOfMonth->setSuffix(Choices::dayOfMonthSuffix());
    setLeastWidth(m_dayOfMonth, dayOfMonthWidth);
    m_time->setDisplayFormat(Choices::timeOfDayFormat(QLocale()));

    // The Tab key follows the order in which widgets join the window: the picker above first.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(partSpacing);
    layout->addWidget(newCaptionRow(tr("Wiederholung"), std::nullopt, m_frequency));

    auto* content = new QWidget;
    m_rows = newCaptionForm(content, rowSpacing);
    m_rows->setContentsMargins(0, contentOffset, 0, 0);
    addCaptionRow(m_rows, tr("Intervall"), Symbol::timer, m_interval);
    addCaptionRow(m_rows, tr("Startminute"), Symbol::clock, m_startMinute);
    addCaptionRow(m_rows, tr("Uhrzeit"), Symbol::clock, m_time);
    m_weekdaysRow = weekdayRow();
    m_rows->addRow(m_weekdaysRow);
    addCaptionRow(m_rows, tr("Kalendertag"), Symbol::calendar, m_dayOfMonth);
    m_spring = new SpringContainer(content, this);

    layout->addWidget(m_spring);

    connect(m_frequency, &QComboBox::activated, this, [this](int index) {
        VisualSchedule changed = m_schedule;
        changed.frequency = ScheduleFrequency(m_frequency->itemData(index).toInt());
        m_spring->prepareChange();
        edit(changed);
        m_spring->commitChange();
    });
    connect(m_interval, &QComboBox::activated, this, [this](int index) {
        VisualSchedule changed = m_schedule;
        changed.minuteInterval = m_interval->itemData(index).toInt();
        edit(changed);
    });
    connect(m_startMinute, &QSpinBox::valueChanged, this, [this](int minute) {
        VisualSchedule changed = m_schedule;
        changed.minute = minute;
        edit(changed);
    });
    connect(m_dayOfMonth, &QSpinBox::valueChanged, this, [this](int day) {
        VisualSchedule changed = m_schedule;
        changed.dayOfMonth = day;
        edit(changed);
    });
    connect(m_time, &QTimeEdit::timeChanged, this,
            [this](QTime time) { edit(Choices::withTime(m_schedule, time)); });
    showSchedule(std::nullopt);
}

QWidget* VisualScheduleEditor::weekdayRow()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    // Under the controls of the rows above, not under their captions; in a narrow column the
    // days move left and closer together rather than out of sight.
    layout->setSpacing(0);
    layout->addSpacerItem(new CaptionIndent(0));
    for (const int weekday : Choices::weekdayOrder()) {
        if (!m_weekdayButtons.isEmpty())
            layout->addSpacerItem(
                new QSpacerItem(weekdaySpacing, 0, QSizePolicy::Maximum, QSizePolicy::Minimum));
        auto* button = new WeekdayButton(Choices::weekdayShortLabel(weekday),
                                         Choices::weekdayName(weekday), row);
        button->setObjectName(QStringLiteral("weekdayButton%1").arg(weekday));
        // Mouse, keyboard and screen reader all toggle the button; the schedule decides, and
        // showing it puts back a last day that was unchecked.
        connect(button, &WeekdayButton::toggled, this, [this, weekday](bool isChosen) {
            if (m_schedule.weekdays.contains(weekday) == isChosen)
                return;
            VisualSchedule changed = m_schedule;
            changed.weekdays = Choices::toggledWeekday(m_schedule.weekdays, weekday);
            edit(changed);
        });
        m_weekdayButtons.append(button);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return row;
}

void VisualScheduleEditor::setSchedule(const VisualSchedule& schedule)
{
    const VisualSchedule before = std::exchange(m_schedule, schedule);
    showSchedule(before);
}

void VisualScheduleEditor::edit(const VisualSchedule& schedule)
{
    if (schedule == m_schedule) {
        // A weekday button unchecks itself even when it is the last day: it takes it back.
        showWeekdays();
        return;
    }
    setSchedule(schedule);
    Q_EMIT scheduleEdited(m_schedule);
}

void VisualScheduleEditor::showSchedule(const std::optional<VisualSchedule>& before)
{
    // Showing a value is no edit: the controls' own signals stay quiet meanwhile.
    const QSignalBlocker blockFrequency(m_frequency);
    const QSignalBlocker blockInterval(m_interval);
    const QSignalBlocker blockMinute(m_startMinute);
    const QSignalBlocker blockTime(m_time);
    const QSignalBlocker blockDay(m_dayOfMonth);
    const auto differs = [&](auto field) {
        return !before || (*before).*field != m_schedule.*field;
    };

    if (differs(&VisualSchedule::frequency)) {
        m_frequency->setCurrentIndex(m_frequency->findData(int(m_schedule.frequency)));
        const auto rows = Choices::rowsFor(m_schedule.frequency);
        m_rows->setRowVisible(m_interval, rows.interval);
        m_rows->setRowVisible(m_startMinute, rows.startMinute);
        m_rows->setRowVisible(m_time, rows.time);
        m_rows->setRowVisible(m_weekdaysRow, rows.weekdays);
        m_rows->setRowVisible(m_dayOfMonth, rows.dayOfMonth);
    }
    // The entries hold the interval even where it is not one of those offered.
    if (differs(&VisualSchedule::minuteInterval)) {
        m_interval->clear();
        for (const int interval :
             Choices::minuteIntervalEntries(m_minuteIntervals, m_schedule.minuteInterval))
            m_interval->addItem(Choices::minuteIntervalTitle(interval), interval);
        setLeastWidth(m_interval, pickerWidth);
        m_interval->setCurrentIndex(m_interval->findData(m_schedule.minuteInterval));
    }
    if (differs(&VisualSchedule::minute) || differs(&VisualSchedule::hour)) {
        m_startMinute->setValue(m_schedule.minute);
        m_time->setTime(QTime(m_schedule.hour, m_schedule.minute));
    }
    if (differs(&VisualSchedule::dayOfMonth))
        m_dayOfMonth->setValue(m_schedule.dayOfMonth);
    if (differs(&VisualSchedule::weekdays))
        showWeekdays();
}

void VisualScheduleEditor::showWeekdays()
{
    for (qsizetype index = 0; index < m_weekdayButtons.size(); ++index) {
        const QSignalBlocker blockDay(m_weekdayButtons[index]);
        m_weekdayButtons[index]->setChecked(
            m_schedule.weekdays.contains(Choices::weekdayOrder()[index]));
    }
}

} // namespace Tempolane
