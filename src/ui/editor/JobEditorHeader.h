#pragma once

#include "JobEditorModel.h"

#include <QWidget>

class QLineEdit;

namespace Tempolane {

class SymbolLabel;
class TextLabel;
class ToggleSwitch;

// The top of the job form: the name field with its message and the schedule's description
// below it, and the switch that pauses or resumes the job.
class JobEditorHeader final : public QWidget
{
    Q_OBJECT

public:
    explicit JobEditorHeader(QWidget* parent = nullptr);

    // Shows the parts of the model that `changes` names.
    void present(const JobEditorModel& model, JobEditorChanges changes);

Q_SIGNALS:
    void nameEdited(const QString& name);
    // The focus moved on from the name field.
    void nameLeft();
    void enabledToggled(bool isEnabled);

private:
    QLineEdit* m_nameField;
    SymbolLabel* m_nameMessage;
    TextLabel* m_description;
    ToggleSwitch* m_enabledSwitch;
};

} // namespace Tempolane
