#pragma once

#include "Clock.h"
#include "StatusRefreshLoop.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>

class QLineEdit;
class QMessageBox;
class QSplitter;
class QToolBar;

class QSettings;

namespace Tempolane {

class ContentColumn;
class CronStore;
class CrontabChecking;
class DetailColumn;
class JobListModel;
class JobListView;
class JobRunsFeed;
class NewJobDialog;
class Sidebar;
class TimelineView;

// The main window: sidebar, job list and the selected job's editor side by side, the toolbar,
// and the dialogs the store asks for (new job, delete confirmation, error alert). It loads the
// crontab when first shown and refreshes the execution status while it is open.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr QSize minimumWindowSize{940, 620};
    static constexpr QSize defaultWindowSize{1280, 800};

    // Shared by the toolbar, the menus and the list, so each has one enabled state.
    struct Commands
    {
        QAction* newJob;
        QAction* duplicate;
        QAction* reload;
        QAction* undo;
        QAction* redo;
        QAction* backups;
        // Shows the timeline in place of the list, and the list again.
        QAction* timeline;
    };

    explicit MainWindow(CronStore& store, Clock now = systemClock(), QWidget* parent = nullptr);
    ~MainWindow() override;

    const Commands& commands() const { return m_commands; }
    CronStore& store() const { return m_store; }
    // The checks of the crontab shown: the row marks, the banner and the "Hinweise" card.
    CrontabChecking& checking() const { return *m_checking; }

    // The window's size, place, toolbar and column widths, kept between starts. Restoring
    // what is missing or unreadable leaves the window as it is.
    void saveLayout(QSettings& settings) const;
    void restoreLayout(const QSettings& settings);

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Commands makeCommands();
    void buildToolBar();
    QSplitter* buildColumns();
    void applyChrome();
    // Keeps the window with its frame on its screen's free area.
    void keepOnScreen();
    void fitToScreen(const QRect& wanted);
    void updateCommands();
    // Selects the job once the editor's unsaved changes are settled; `stay` when they keep it.
    void requestJob(QUuid chosen, std::function<void()> stay);
    // Dialogs stack on the new-job or backups dialog while one is open.
    QWidget* dialogParent();
    void presentError();
    void askForDeletion();
    void showJobCreation();
    void openJobCreation();

    CronStore& m_store;
    Clock m_clock;
    StatusRefreshLoop m_loop;
    CrontabChecking* m_checking;
    JobListModel* m_jobs;
    Commands m_commands;
    QToolBar* m_toolBar = nullptr;
    Sidebar* m_sidebar = nullptr;
    JobListView* m_jobList = nullptr;
    JobRunsFeed* m_runs = nullptr;
    TimelineView* m_timeline = nullptr;
    ContentColumn* m_content = nullptr;
    DetailColumn* m_detail = nullptr;
    QLineEdit* m_search = nullptr;
    QPointer<QMessageBox> m_alert;
    QPointer<QMessageBox> m_deletion;
    QPointer<NewJobDialog> m_newJobDialog;
    // The frame the window was last fitted with; the desktop tells the real one only once the
    // window is shown.
    QMargins m_fittedFrame{-1, -1, -1, -1};
    // A restored window stands where it stood; a new one where the desktop puts it.
    bool m_keepsPlace = false;
    bool m_hasBeenActive = false;
};

} // namespace Tempolane
