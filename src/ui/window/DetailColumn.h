#pragma once

#include "Clock.h"

#include <QCoro/QCoroTask>
#include <QPointer>
#include <QStackedWidget>
#include <functional>

class QMessageBox;

namespace Tempolane {

class CronStore;
class CrontabChecking;
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
    // Before the editor's job is left: with unsaved changes, asks whether to save them first.
    // `proceed` runs at once without changes, after a successful save or once they are given
    // up; `stay` when the user stays with the job or the save fails.
    bool hasUnsavedChanges() const;
    // "Wochenbericht – Tempolane": the window's title for the job shown, named as its draft is
    // named while it is typed.
    QString windowTitle() const;
    void settleEdits(std::function<void()> proceed, std::function<void()> stay = {});
    // The same question for the store's leave guard: true once the job may be left.
    QCoro::Task<bool> settledEdits();
    // The checks whose findings the editor's "Hinweise" card shows, and which check its draft.
    void setChecking(CrontabChecking* checking);

Q_SIGNALS:
    void windowTitleChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keepEditsOfRemovedJob();
    void makeEditor();
    void showFindings();

    CronStore& m_store;
    Clock m_clock;
    QWidget* m_placeholder;
    EmptyStateView* m_emptyState;
    JobEditorView* m_editor = nullptr;
    CrontabChecking* m_checking = nullptr;
    bool m_isEditorComing = false;
    QPointer<QMessageBox> m_saveQuestion;
};

} // namespace Tempolane
