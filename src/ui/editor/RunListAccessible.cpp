#include "RunListAccessible.h"

#include "ExecutionHistoryModel.h"
#include "ExecutionHistoryView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace Tempolane {

namespace {

class RunRowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    RunRowAccessible(ExecutionHistoryView* view, int row) : m_view(view), m_row(row) {}

    bool isValid() const override { return m_view && m_row < m_view->model()->rowCount(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text text) const override
    {
        if (!isValid())
            return {};
        if (text == QAccessible::Name)
            return index().data(Qt::AccessibleTextRole).toString();
        if (text == QAccessible::Description)
            return index().data(Qt::AccessibleDescriptionRole).toString();
        return {};
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect area = m_view->visualRect(index());
        return {m_view->viewport()->mapToGlobal(area.topLeft()), area.size()};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.expandable = true;
        state.expanded = index().data(ExecutionHistoryModel::isExpandedRole).toBool();
        state.focusable = true;
        state.focused = m_view->hasFocus() && m_view->currentIndex() == index();
        state.invisible = !m_view->isVisible();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid())
            m_view->toggle(index());
    }

private:
    QModelIndex index() const { return m_view->model()->index(m_row, 0); }

    QPointer<ExecutionHistoryView> m_view;
    int m_row;
};

class RunListInterface final : public QAccessibleWidget
{
public:
    explicit RunListInterface(ExecutionHistoryView* view)
        : QAccessibleWidget(view, QAccessible::List)
    {
    }
    ~RunListInterface() override
    {
        for (const QAccessible::Id id : std::as_const(m_rows))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return view()->model()->rowCount(); }

    // One interface per row, kept for as long as the list's: a screen reader holds on to it.
    QAccessibleInterface* child(int row) const override
    {
        if (row < 0 || row >= childCount())
            return nullptr;
        auto found = m_rows.constFind(row);
        if (found == m_rows.constEnd())
            found = m_rows.insert(
                row, QAccessible::registerAccessibleInterface(new RunRowAccessible(view(), row)));
        return QAccessible::accessibleInterface(*found);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key();
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint point = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = view()->indexAt(point);
        return index.isValid() ? child(index.row()) : nullptr;
    }

    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        return view()->hasFocus() && current.isValid() ? child(current.row()) : nullptr;
    }

private:
    ExecutionHistoryView* view() const { return static_cast<ExecutionHistoryView*>(widget()); }

    mutable QHash<int, QAccessible::Id> m_rows;
};

} // namespace

QAccessibleInterface* runListAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String(ExecutionHistoryView::staticMetaObject.className()))
        return nullptr;
    return new RunListInterface(static_cast<ExecutionHistoryView*>(object));
}

} // namespace Tempolane
