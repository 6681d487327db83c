#include "ExecutionHistoryView.h"

#include "ExecutionHistoryModel.h"
#include "ExecutionRecordDelegate.h"
#include "RunListAccessible.h"
#include "Style.h"

#include <QAccessible>
#include <QKeyEvent>

namespace Tempolane {

ExecutionHistoryView::ExecutionHistoryView(ExecutionHistoryModel* model, QWidget* parent)
    : QListView(parent), m_model(model), m_delegate(new ExecutionRecordDelegate(this))
{
    static const bool installed = [] {
        QAccessible::installFactory(runListAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setModel(m_model);
    setItemDelegate(m_delegate);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setResizeMode(QListView::Adjust);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    viewport()->setAttribute(Qt::WA_Hover);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setAccessibleName(tr("Ausführungsprotokoll"));
    // Each row unfolds like a disclosure header, and its arrow is drawn as one.
    Style::mark(this, Style::Control::disclosure);

    connect(this, &QAbstractItemView::clicked, this, &ExecutionHistoryView::toggle);
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex&, const QList<int>& roles) {
                // Output that appears or goes needs another kind of view below the run.
                if (roles.contains(ExecutionHistoryModel::outputRole) &&
                    isPersistentEditorOpen(topLeft))
                    closePersistentEditor(topLeft);
                showUnfolded();
            });
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_model, signal, this, &ExecutionHistoryView::showUnfolded);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &ExecutionHistoryView::showUnfolded);
}

void ExecutionHistoryView::toggle(const QModelIndex& index)
{
    m_model->setData(index, !index.data(ExecutionHistoryModel::isExpandedRole).toBool(),
                     ExecutionHistoryModel::isExpandedRole);
}

void ExecutionHistoryView::showUnfolded()
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row);
        const bool isExpanded = index.data(ExecutionHistoryModel::isExpandedRole).toBool();
        if (isExpanded && !isPersistentEditorOpen(index))
            openPersistentEditor(index);
        else if (!isExpanded && isPersistentEditorOpen(index))
            closePersistentEditor(index);
    }
    scheduleDelayedItemsLayout();
    updateGeometry();
}

QSize ExecutionHistoryView::sizeHint() const
{
    int height = 2 * frameWidth();
    for (int row = 0; row < m_model->rowCount(); ++row)
        height += sizeHintForRow(row);
    return {QListView::sizeHint().width(), height};
}

QSize ExecutionHistoryView::minimumSizeHint() const
{
    return {QListView::minimumSizeHint().width(), sizeHint().height()};
}

void ExecutionHistoryView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        toggle(currentIndex());
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace Tempolane
