#pragma once

#include "Clock.h"
#include "JobEditorModel.h"

#include <QWidget>

class QLineEdit;
class QVBoxLayout;

namespace Tempolane {

class SegmentedPicker;
class SymbolLabel;
class TextLabel;
class VisualScheduleEditor;

// The content of the schedule card: the editor mode, the visual form or the cron text with
// its message and legend, the schedule's description and its next runs. It shows the job
// editor's state and reports what the user does.
class ScheduleSection final : public QWidget
{
    Q_OBJECT

public:
    explicit ScheduleSection(Clock now, QWidget* parent = nullptr);

    // Shows the parts of the model that `changes` names.
    void present(const JobEditorModel& model, JobEditorChanges changes);

Q_SIGNALS:
    void modeChosen(Tempolane::ScheduleEditorMode mode);
    void expressionEdited(const QString& expression);
    void visualScheduleEdited(const Tempolane::VisualSchedule& schedule);

private:
    QWidget* modeRow();
    QWidget* syntaxColumn();
    QWidget* summaryRow();
    QWidget* upcomingRuns();
    void presentUpcomingRuns(const QString& expression);

    Clock m_clock;
    SegmentedPicker* m_modePicker;
    VisualScheduleEditor* m_visualEditor;
    QWidget* m_syntaxColumn;
    QLineEdit* m_scheduleField;
    SymbolLabel* m_scheduleMessage;
    TextLabel* m_description;
    TextLabel* m_expression;
    QWidget* m_upcoming;
    QList<TextLabel*> m_upcomingLines;
    QString m_upcomingFor;
    qint64 m_upcomingMinute = 0;
};

} // namespace Tempolane
