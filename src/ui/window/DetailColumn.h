#pragma once

#include "Clock.h"

#include <QStackedWidget>

namespace Tempolane {

class CronStore;
class EmptyStateView;
class JobEditorView;

// The third column: the selected job's editor, or a placeholder over the ambient background
// when no job is selected. The editor is made once and given new inputs as the store changes.
class DetailColumn final : public QStackedWidget
{
    Q_OBJECT

public:
    DetailColumn(CronStore& store, Clock now, QWidget* parent = nullptr);

    // Gives the editor the store's values anew; the next run also moves on with the clock.
    void showSelectedJob();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeEditor();

    CronStore& m_store;
    Clock m_clock;
    QWidget* m_placeholder;
    EmptyStateView* m_emptyState;
    JobEditorView* m_editor = nullptr;
    bool m_isEditorComing = false;
};

} // namespace Tempolane
