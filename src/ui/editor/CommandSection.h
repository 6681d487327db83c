#pragma once

#include "JobEditorModel.h"

#include <QWidget>

class QPlainTextEdit;

namespace Tempolane {

class SymbolLabel;

// The content of the command card: the command in a fixed-width editor, and below it either
// the command's message or the hint about quoting paths.
class CommandSection final : public QWidget
{
    Q_OBJECT

public:
    explicit CommandSection(QWidget* parent = nullptr);

    // Shows the parts of the model that `changes` names.
    void present(const JobEditorModel& model, JobEditorChanges changes);

Q_SIGNALS:
    void commandEdited(const QString& command);
    // The focus moved on from the command field.
    void commandLeft();

private:
    QPlainTextEdit* m_commandField;
    SymbolLabel* m_message;
    SymbolLabel* m_hint;
};

} // namespace Tempolane
