#pragma once

#include <QUuid>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>

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
    // How a job the user picks in the list becomes the store's selection; by default at once.
    // Whoever holds it back calls showSelection, and the list shows the store's selection again.
    void setSelectionRequest(std::function<void(QUuid)> request);
    void showSelection();
    // A bar between the title and the jobs (ProblemBanner).
    void addBanner(QWidget* banner);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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
    std::function<void(QUuid)> m_selectionRequest;
};

} // namespace Tempolane
