#include "JobListView.h"

#include "ActionButton.h"
#include "EmptyStateView.h"
#include "JobListModel.h"
#include "JobRowDelegate.h"
#include "MonitoringSuggestion.h"
#include "SymbolIcon.h"
#include "SymbolView.h"
#include "TextLabel.h"
#include "WindowPresentation.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int titleMargin = 16;

} // namespace

JobListView::JobListView(CronStore& store, JobListModel& model, QWidget* parent)
    : QWidget(parent), m_store(store), m_model(model),
      m_title(new TextLabel(TextStyle::title3, Tint::primary, this)),
      m_content(new QStackedWidget(this)), m_list(new QListView(m_content)),
      m_delegate(new JobRowDelegate(m_list)), m_emptyState(new EmptyStateView(m_content))
{
    m_title->setObjectName(QStringLiteral("listTitle"));
    QFont titleFont = m_title->font();
    titleFont.setWeight(QFont::DemiBold);
    m_title->setFont(titleFont);

    m_list->setObjectName(QStringLiteral("jobList"));
    m_list->setAccessibleName(tr("Cronjobs"));
    m_list->setModel(&m_model);
    m_list->setItemDelegate(m_delegate);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setUniformItemSizes(true);
    m_list->setMouseTracking(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->viewport()->setAutoFillBackground(false);
    m_emptyState->setObjectName(QStringLiteral("listEmptyState"));
    m_content->addWidget(m_list);
    m_content->addWidget(m_emptyState);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, titleMargin, 0, 0);
    layout->setSpacing(titleMargin / 2);
    auto* titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(titleMargin + JobRowDelegate::inset / 2, 0, titleMargin, 0);
    titleRow->addWidget(m_title);
    layout->addLayout(titleRow);
    layout->addWidget(m_content, 1);
    layout->addWidget(new MonitoringSuggestion(m_store, this));

    connect(m_emptyState->actionButton(), &QPushButton::clicked, this,
            [this] { m_store.beginCreatingJob(); });
    connect(m_list, &QListView::customContextMenuRequested, this, &JobListView::showContextMenu);
    m_list->installEventFilter(this);
    addKeyboardCommands();
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &JobListView::adoptUserSelection);
    connect(&m_store, &CronStore::selectionChanged, this, &JobListView::showSelection);
    connect(&m_model, &JobListModel::rowsSettled, this, [this] {
        showSelection();
        refreshContent();
    });
    connect(&m_model, &QAbstractItemModel::dataChanged, this, &JobListView::updatePulse);
    for (const auto signal :
         {&CronStore::filterChanged, &CronStore::hasLoadedChanged, &CronStore::documentChanged})
        connect(&m_store, signal, this, &JobListView::refreshContent);

    m_pulse.setStartValue(0.0);
    m_pulse.setEndValue(1.0);
    m_pulse.setDuration(SymbolView::pulseMilliseconds);
    m_pulse.setLoopCount(-1);
    connect(&m_pulse, &QVariantAnimation::valueChanged, this, [this](const QVariant& phase) {
        m_delegate->setPulseOpacity(SymbolView::pulseOpacity(phase.toReal()));
        m_list->viewport()->update();
    });
    refreshContent();
    showSelection();
}

void JobListView::addBanner(QWidget* banner)
{
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->insertWidget(column->indexOf(m_content), banner);
}

void JobListView::refreshContent()
{
    m_title->setText(title(m_store.filter()));
    const auto emptyState = WindowPresentation::jobListEmptyState(m_store);
    if (emptyState)
        m_emptyState->setState(*emptyState);
    m_content->setCurrentWidget(emptyState ? static_cast<QWidget*>(m_emptyState) : m_list);
    updatePulse();
}

void JobListView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updatePulse();
}

void JobListView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    updatePulse();
}

// Running jobs pulse only while the list can be seen.
void JobListView::updatePulse()
{
    const bool wanted = m_model.hasRunningJob() && m_list->isVisible();
    if (wanted && m_pulse.state() != QAbstractAnimation::Running)
        m_pulse.start();
    else if (!wanted && m_pulse.state() != QAbstractAnimation::Stopped) {
        m_pulse.stop();
        m_delegate->setPulseOpacity(1);
    }
}

void JobListView::showSelection()
{
    const QModelIndex selected = m_model.indexOf(m_store.selection());
    if (!selected.isValid()) {
        // The selected job is hidden by the filter or the search, and stays selected: no other
        // row stands in for it.
        if (m_list->currentIndex().isValid() || m_list->selectionModel()->hasSelection())
            m_list->selectionModel()->clear();
        return;
    }
    // Assistive tools select a row without making it current: both must show the store's job.
    if (m_list->currentIndex() == selected &&
        m_list->selectionModel()->selectedRows() == QModelIndexList{selected})
        return;
    m_list->selectionModel()->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(selected);
}

void JobListView::setSelectionRequest(std::function<void(QUuid)> request)
{
    m_selectionRequest = std::move(request);
}

void JobListView::adoptUserSelection()
{
    // Filtering and searching never change the selection, whatever row the list moves to when
    // the selected one goes away.
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty() || m_model.isSynchronizing())
        return;
    const QUuid chosen = rows.front().data(JobListModel::JobIdRole).toUuid();
    if (chosen == m_store.selection())
        return;
    if (m_selectionRequest)
        m_selectionRequest(chosen);
    else
        m_store.setSelection(chosen);
}

void JobListView::addKeyboardCommands()
{
    auto* remove = new QAction(m_list);
    remove->setObjectName(QStringLiteral("deleteSelectedJobAction"));
    // Spelled out: on X11 the standard Delete also means Ctrl+D, which duplicates.
    remove->setShortcut(QKeySequence(Qt::Key_Delete));
    remove->setShortcutContext(Qt::WidgetShortcut);
    connect(remove, &QAction::triggered, this, [this] {
        if (const QModelIndex row = selectedRow(); row.isValid())
            m_store.setJobPendingDeletion(m_model.jobAt(row.row()));
    });
    // The menu key reaches the list as a context menu event (see eventFilter); Shift+F10 is
    // the other key the desktop opens menus with.
    auto* menu = new QAction(m_list);
    menu->setObjectName(QStringLiteral("openRowMenuAction"));
    menu->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    menu->setShortcutContext(Qt::WidgetShortcut);
    connect(menu, &QAction::triggered, this, &JobListView::showMenuForSelectedRow);
    m_list->addActions({remove, menu});
}

// A context menu asked for from the keyboard is placed where the mouse happens to be; it
// belongs to the selected row instead.
bool JobListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        showMenuForSelectedRow();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The keys act on the row the list shows selected, never on a selected job a filter hides.
QModelIndex JobListView::selectedRow() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? QModelIndex() : rows.front();
}

void JobListView::showMenuForSelectedRow()
{
    const QModelIndex index = selectedRow();
    if (!index.isValid())
        return;
    m_list->scrollTo(index);
    showMenu(index, m_list->viewport()->mapToGlobal(m_list->visualRect(index).bottomLeft()));
}

void JobListView::showContextMenu(const QPoint& position)
{
    const QModelIndex index = m_list->indexAt(position);
    if (index.isValid())
        showMenu(index, m_list->viewport()->mapToGlobal(position));
}

void JobListView::showMenu(const QModelIndex& index, const QPoint& globalPosition)
{
    const CronJob job = m_model.jobAt(index.row());
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName(QStringLiteral("jobContextMenu"));
    QAction* toggle = job.isEnabled ? menu->addAction(symbolIcon(Symbol::pause), tr("Pausieren"))
                                    : menu->addAction(symbolIcon(Symbol::play), tr("Fortsetzen"));
    toggle->setObjectName(QStringLiteral("toggleEnabledAction"));
    connect(toggle, &QAction::triggered, this,
            [this, job] { m_store.setEnabled(!job.isEnabled, job); });
    QAction* duplicate = menu->addAction(symbolIcon(Symbol::copy), tr("Duplizieren"));
    duplicate->setObjectName(QStringLiteral("duplicateAction"));
    connect(duplicate, &QAction::triggered, this, [this, job] { m_store.beginDuplicating(job); });
    menu->addSeparator();
    QAction* remove = menu->addAction(symbolIcon(Symbol::trash, {Tint::red}), tr("Löschen"));
    remove->setObjectName(QStringLiteral("deleteAction"));
    connect(remove, &QAction::triggered, this, [this, job] { m_store.setJobPendingDeletion(job); });
    menu->popup(globalPosition);
}

} // namespace Tempolane
