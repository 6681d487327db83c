#include "MainWindow.h"

#include "BackupsDialog.h"
#include "ColumnSplitter.h"
#include "ContentColumn.h"
#include "CrontabChecking.h"
#include "DetailColumn.h"
#include "Dialogs.h"
#include "HistoryCommands.h"
#include "JobListModel.h"
#include "JobListView.h"
#include "JobRunsFeed.h"
#include "NewJobDialog.h"
#include "ProblemBanner.h"
#include "ScreenFit.h"
#include "ShortcutText.h"
#include "Sidebar.h"
#include "SymbolIcon.h"
#include "TimelineView.h"
#include "WindowChrome.h"
#include "WindowPresentation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoro/QCoroSignal>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMoveEvent>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <algorithm>
#include <utility>

namespace Tempolane {

namespace {

struct ColumnWidths
{
    int minimum;
    int ideal;
    int maximum;
};

constexpr ColumnWidths sidebarWidths{184, 210, 250};
constexpr ColumnWidths listWidths{300, 360, 440};
// Wide enough for the editor's form at the smallest window: the sidebar and the list give
// up their room first.
constexpr int detailMinimumWidth = 450;
constexpr int searchFieldWidth = 260;
constexpr int toolBarIconSide = 18;
const QString geometryKey = QStringLiteral("window/geometry");
const QString stateKey = QStringLiteral("window/state");
const QString columnsKey = QStringLiteral("window/columns");

void applyWidths(QWidget* column, ColumnWidths widths)
{
    column->setMinimumWidth(widths.minimum);
    column->setMaximumWidth(widths.maximum);
}

// Reads the crontab, or waits for the read already under way.
QCoro::Task<> readAfresh(CronStore& store)
{
    co_await store.load();
    while (store.isLoading())
        co_await qCoro(&store, &CronStore::isLoadingChanged);
}

} // namespace

MainWindow::MainWindow(CronStore& store, Clock now, QWidget* parent)
    : QMainWindow(parent), m_store(store), m_clock(std::move(now)), m_loop(store),
      m_checking(new CrontabChecking(store, this)), m_jobs(new JobListModel(store, m_clock, this)),
      m_commands(makeCommands())
{
    setObjectName(QStringLiteral("mainWindow"));
    setMinimumSize(minimumWindowSize);
    resize(defaultWindowSize);
    buildToolBar();
    setCentralWidget(buildColumns());

    connect(&m_loop, &StatusRefreshLoop::ticked, this, [this] {
        m_jobs->refreshRelativeTimes();
        m_sidebar->refreshSyncStatus();
        m_detail->showSelectedJob();
        m_timeline->clockTicked();
    });
    for (const auto signal : {&CronStore::isLoadingChanged, &CronStore::isSavingChanged,
                              &CronStore::selectionChanged, &CronStore::documentChanged})
        connect(&m_store, signal, this, &MainWindow::updateCommands);
    const auto showTitle = [this] { setWindowTitle(m_detail->windowTitle()); };
    for (const auto signal : {&CronStore::selectionChanged, &CronStore::documentChanged})
        connect(&m_store, signal, this, showTitle);
    connect(m_detail, &DetailColumn::windowTitleChanged, this, showTitle);
    showTitle();
    connect(&m_store, &CronStore::presentedErrorChanged, this, &MainWindow::presentError);
    connect(&m_store, &CronStore::jobPendingDeletionChanged, this, &MainWindow::askForDeletion);
    connect(&m_store, &CronStore::jobForCreationChanged, this, &MainWindow::showJobCreation);
    // Every way to another job that does not come from the list asks the editor first.
    m_store.setLeaveGuard([this] { return m_detail->settledEdits(); });
    updateCommands();
    applyChrome();
    // The keyboard starts in the list, where the arrow keys move between jobs.
    m_jobList->list()->setFocus();
}

MainWindow::~MainWindow()
{
    // The store outlives the window.
    m_store.setLeaveGuard({});
}

void MainWindow::applyChrome()
{
    const QPalette palette = QApplication::palette();
    m_toolBar->setStyleSheet(WindowChrome::toolBarStyleSheet(palette));
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The window's own palette changes when the application's does, also while it is hidden.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        applyChrome();
    // Back from another program, perhaps one that changed the crontab or files the checks look
    // at; the first activation comes with the first read.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        std::exchange(m_hasBeenActive, true)) {
        m_store.followOutsideChange();
        m_checking->recheck();
    }
}

MainWindow::Commands MainWindow::makeCommands()
{
    auto* newJob = new QAction(symbolIcon(Symbol::plusBold), tr("Neuer Cronjob"), this);
    newJob->setObjectName(QStringLiteral("newJobAction"));
    newJob->setIconText(tr("Neu"));
    newJob->setShortcuts(QKeySequence::New);
    newJob->setToolTip(withShortcut(tr("Neuen Cronjob anlegen"), newJob->shortcut()));
    connect(newJob, &QAction::triggered, this, [this] { m_store.beginCreatingJob(); });

    auto* duplicate = new QAction(symbolIcon(Symbol::copy), tr("Cronjob duplizieren"), this);
    duplicate->setObjectName(QStringLiteral("duplicateJobAction"));
    duplicate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(duplicate, &QAction::triggered, this, [this] {
        if (const auto job = m_store.selectedJob())
            m_store.beginDuplicating(*job);
    });

    auto* reload =
        new QAction(symbolIcon(Symbol::arrowClockwise), tr("Crontab aktualisieren"), this);
    reload->setObjectName(QStringLiteral("reloadAction"));
    reload->setIconText(tr("Aktualisieren"));
    // Ctrl+R (⌘R) first, then whatever the platform calls refreshing (F5 on most desktops).
    QList<QKeySequence> reloadKeys{QKeySequence(Qt::CTRL | Qt::Key_R)};
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Refresh)) {
        if (!reloadKeys.contains(key))
            reloadKeys.append(key);
    }
    reload->setShortcuts(reloadKeys);
    reload->setToolTip(withShortcut(tr("System-crontab neu laden"), reloadKeys.front()));
    connect(reload, &QAction::triggered, this, [this] { m_store.load(); });

    auto* timeline = new QAction(symbolIcon(Symbol::calendar), tr("Zeitleiste"), this);
    timeline->setObjectName(QStringLiteral("timelineAction"));
    timeline->setCheckable(true);
    timeline->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    timeline->setToolTip(withShortcut(tr("Zeitleiste aller Jobs zeigen"), timeline->shortcut()));

    const HistoryCommands history = makeHistoryCommands(m_store, this);
    addActions({newJob, duplicate, reload, history.undo, history.redo, history.backups, timeline});
    return {newJob, duplicate, reload, history.undo, history.redo, history.backups, timeline};
}

void MainWindow::buildToolBar()
{
    auto* toolBar = addToolBar(tr("Werkzeugleiste"));
    m_toolBar = toolBar;
    toolBar->setObjectName(QStringLiteral("mainToolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->setIconSize({toolBarIconSide, toolBarIconSide});
    toolBar->toggleViewAction()->setEnabled(false);
    toolBar->addAction(m_commands.newJob);
    toolBar->addAction(m_commands.reload);
    toolBar->addAction(m_commands.timeline);
    toolBar->widgetForAction(m_commands.newJob)->setObjectName(QStringLiteral("newJobButton"));
    toolBar->widgetForAction(m_commands.reload)->setObjectName(QStringLiteral("reloadButton"));
    toolBar->widgetForAction(m_commands.timeline)->setObjectName(QStringLiteral("timelineButton"));
    // Qt leaves tool bar buttons out of the Tab chain; keyboard users need them too.
    for (QAction* action : {m_commands.newJob, m_commands.reload, m_commands.timeline})
        toolBar->widgetForAction(action)->setFocusPolicy(Qt::TabFocus);

    auto* spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);

    m_search = new QLineEdit(toolBar);
    m_search->setObjectName(QStringLiteral("searchField"));
    m_search->setAccessibleName(tr("Suche"));
    m_search->setPlaceholderText(tr("Befehl oder Zeitplan"));
    m_search->setClearButtonEnabled(true);
    m_search->setFixedWidth(searchFieldWidth);
    m_search->setText(m_store.searchText());
    toolBar->addWidget(m_search);
    auto* findJob = new QAction(this);
    findJob->setObjectName(QStringLiteral("findAction"));
    findJob->setShortcuts(QKeySequence::Find);
    connect(findJob, &QAction::triggered, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    addAction(findJob);
    auto* clearSearch = new QAction(m_search);
    clearSearch->setShortcuts(QKeySequence::Cancel);
    clearSearch->setShortcutContext(Qt::WidgetShortcut);
    connect(clearSearch, &QAction::triggered, m_search, &QLineEdit::clear);
    m_search->addAction(clearSearch);
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_store.setSearchText(text); });
    connect(&m_store, &CronStore::searchTextChanged, this, [this] {
        if (m_search->text() != m_store.searchText())
            m_search->setText(m_store.searchText());
    });
}

QSplitter* MainWindow::buildColumns()
{
    m_sidebar = new Sidebar(m_store, m_clock);
    applyWidths(m_sidebar, sidebarWidths);
    m_jobList = new JobListView(m_store, *m_jobs);
    applyWidths(m_jobList, listWidths);
    m_jobList->addBanner(new ProblemBanner(m_store, *m_checking));
    m_detail = new DetailColumn(m_store, m_clock);
    m_detail->setMinimumWidth(detailMinimumWidth);
    m_detail->setChecking(m_checking);
    m_jobList->setSelectionRequest(
        [this](QUuid chosen) { requestJob(chosen, [this] { m_jobList->showSelection(); }); });
    m_runs = new JobRunsFeed(m_store, this);
    m_timeline = new TimelineView(m_store, *m_runs, m_clock);
    connect(m_timeline, &TimelineView::jobChosen, this,
            [this](QUuid chosen) { requestJob(chosen, {}); });
    m_content = new ContentColumn(m_jobList, m_timeline, listWidths.maximum, detailMinimumWidth);
    connect(m_commands.timeline, &QAction::toggled, m_content, &ContentColumn::showTimeline);

    auto* columns = new ColumnSplitter;
    columns->setObjectName(QStringLiteral("columns"));
    columns->addWidget(m_sidebar);
    columns->addWidget(m_content);
    columns->addWidget(m_detail);
    columns->setStretchFactor(2, 1);
    columns->setSizes({sidebarWidths.ideal, listWidths.ideal,
                       defaultWindowSize.width() - sidebarWidths.ideal - listWidths.ideal});
    return columns;
}

void MainWindow::requestJob(QUuid chosen, std::function<void()> stay)
{
    m_detail->settleEdits([this, chosen] { m_store.setSelection(chosen); }, std::move(stay));
}

void MainWindow::updateCommands()
{
    m_commands.reload->setEnabled(WindowPresentation::canReload(m_store));
    m_commands.duplicate->setEnabled(WindowPresentation::canDuplicate(m_store));
}

QWidget* MainWindow::dialogParent()
{
    if (m_newJobDialog)
        return m_newJobDialog;
    if (auto* backups = findChild<BackupsDialog*>(); backups && backups->isVisible())
        return backups;
    return this;
}

void MainWindow::showJobCreation()
{
    const auto job = m_store.jobForCreation();
    if (!job) {
        if (m_newJobDialog)
            m_newJobDialog->done(QDialog::Rejected);
        return;
    }
    if (m_newJobDialog)
        return;
    // The new job becomes the selected one once created: the editor's changes are settled first.
    m_detail->settleEdits([this] { openJobCreation(); },
                          [this] { m_store.setJobForCreation(std::nullopt); });
}

void MainWindow::openJobCreation()
{
    const auto job = m_store.jobForCreation();
    if (!job || m_newJobDialog)
        return;
    m_newJobDialog = new NewJobDialog(m_store, *job, m_clock, this);
    connect(m_newJobDialog, &QDialog::finished, this,
            [this] { m_store.setJobForCreation(std::nullopt); });
    m_newJobDialog->open();
}

void MainWindow::presentError()
{
    const auto error = m_store.presentedError();
    if (!error)
        return;
    // A first read that fails comes before the window is shown; the alert needs it beneath.
    if (!isVisible())
        show();
    // A newer error replaces the one shown.
    if (m_alert)
        m_alert->done(0);
    const auto dismiss = [this, id = error->id] {
        const auto shown = m_store.presentedError();
        if (shown && shown->id == id)
            m_store.setPresentedError(std::nullopt);
    };
    if (!error->offersReload) {
        m_alert = showAlert(dialogParent(), error->title, error->message, dismiss);
    } else {
        // The open new-job dialog would keep the reload out of reach; its job is then created
        // on the text read, as the user asked.
        const auto reload = [this, dismiss] {
            dismiss();
            QCoro::connect(readAfresh(m_store), this, [this] {
                if (m_newJobDialog)
                    m_newJobDialog->saveAgain();
            });
        };
        m_alert = askForChoice(dialogParent(), {error->title, error->message, tr("Neu laden")},
                               tr("Abbrechen"), reload, dismiss);
    }
    // The tool's own words, often English, only behind "Details einblenden …".
    if (!error->details.isEmpty())
        m_alert->setDetailedText(error->details);
}

void MainWindow::askForDeletion()
{
    const auto job = m_store.jobPendingDeletion();
    if (!job) {
        if (m_deletion)
            m_deletion->done(0);
        return;
    }
    if (m_deletion)
        return;
    const auto question = WindowPresentation::deletionQuestion(*job);
    m_deletion = askForConfirmation(
        dialogParent(), {question.title, question.message, question.confirmLabel, true},
        [this, job = *job] { m_store.deleteJob(job); },
        [this] { m_store.setJobPendingDeletion(std::nullopt); });
}

void MainWindow::saveLayout(QSettings& settings) const
{
    settings.setValue(geometryKey, saveGeometry());
    settings.setValue(stateKey, saveState());
    settings.setValue(columnsKey, findChild<QSplitter*>(QStringLiteral("columns"))->saveState());
}

void MainWindow::restoreLayout(const QSettings& settings)
{
    if (restoreGeometry(settings.value(geometryKey).toByteArray())) {
        m_keepsPlace = true;
        fitToScreen(geometry());
    }
    restoreState(settings.value(stateKey).toByteArray());
    findChild<QSplitter*>(QStringLiteral("columns"))
        ->restoreState(settings.value(columnsKey).toByteArray());
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    keepOnScreen();
    m_loop.start();
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (isVisible())
        keepOnScreen();
}

// At the first show, and once more when the desktop has framed the window: the frame it tells
// only then may be taller than the one guessed.
void MainWindow::keepOnScreen()
{
    if (frameAround(*this) != m_fittedFrame && !isMaximized() && !isFullScreen())
        fitToScreen(geometry());
}

void MainWindow::fitToScreen(const QRect& wanted)
{
    QScreen* shownOn = m_keepsPlace ? QGuiApplication::screenAt(wanted.center()) : nullptr;
    if (!shownOn)
        shownOn = screen();
    m_fittedFrame = frameAround(*this);
    const auto place = WindowPresentation::fittedPlace(
        wanted, m_fittedFrame, shownOn->availableGeometry(), minimumWindowSize);
    setMinimumSize(place.minimum);
    // On a screen smaller than the columns need, the editor gives up its room and scrolls.
    m_detail->setMinimumWidth(
        std::clamp(place.minimum.width() - sidebarWidths.minimum - listWidths.minimum -
                       2 * static_cast<QSplitter*>(centralWidget())->handleWidth(),
                   0, detailMinimumWidth));
    if (m_keepsPlace)
        setGeometry(place.geometry);
    else
        resize(place.geometry.size());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_detail->hasUnsavedChanges()) {
        event->ignore();
        m_detail->settleEdits([this] { close(); });
        return;
    }
    m_loop.stop();
    QMainWindow::closeEvent(event);
}

} // namespace Tempolane
