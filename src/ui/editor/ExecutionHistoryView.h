#pragma once

#include <QListView>

namespace Tempolane {

class ExecutionHistoryModel;
class ExecutionRecordDelegate;

// The list of recent runs in the executions card. It is as tall as its rows, so the page
// scrolls rather than the list; a click, Space or Enter unfolds a run to its output.
class ExecutionHistoryView final : public QListView
{
    Q_OBJECT

public:
    explicit ExecutionHistoryView(ExecutionHistoryModel* model, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Unfolds a run to its output, or folds it again.
    void toggle(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Opens the output of every unfolded run and closes the others'; the height follows.
    void showUnfolded();

    ExecutionHistoryModel* m_model;
    ExecutionRecordDelegate* m_delegate;
};

} // namespace Tempolane
