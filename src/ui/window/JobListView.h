#pragma once

#include <QVariantAnimation>
#include <QWidget>

class QListView;
class QStackedWidget;

namespace Tempolane {

class CronStore;
class EmptyStateView;
class JobListModel;
class JobRowDelegate;
class TextLabel;

// The middle column: the current filter's title, the jobs (or an empty state), and the
// monitoring suggestion below them. The list's selection is the store's selection.
class JobListView final : public QWidget
{
    Q_OBJECT

public:
    JobListView(CronStore& store, JobListModel& model, QWidget* parent = nullptr);

    QListView* list() const { return m_list; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSelection();
    void adoptUserSelection();
    void refreshContent();
    void updatePulse();
    void showContextMenu(const QPoint& position);
    QModelIndex selectedRow() const;
    void showMenuForSelectedRow();
    void showMenu(const QModelIndex& index, const QPoint& globalPosition);
    void addKeyboardCommands();

    CronStore& m_store;
    JobListModel& m_model;
    TextLabel* m_title;
    QStackedWidget* m_content;
    QListView* m_list;
    JobRowDelegate* m_delegate;
    EmptyStateView* m_emptyState;
    QVariantAnimation m_pulse;
};

} // namespace Tempolane
