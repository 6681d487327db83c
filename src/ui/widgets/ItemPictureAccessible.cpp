#include "ItemPictureAccessible.h"

#include "ItemPicture.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace Tempolane {

namespace {

class PictureItemAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    PictureItemAccessible(QWidget* widget, ItemPicture* picture, int index)
        : m_widget(widget), m_picture(picture), m_index(index)
    {
    }

    bool isValid() const override { return m_widget && m_index < m_picture->pictureItemCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return m_widget ? m_widget->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_widget);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name && isValid() ? m_picture->pictureItemText(m_index)
                                                      : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        return isValid() ? m_picture->pictureItemScreenRect(m_index) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        if (isValid()) {
            state.focused = m_widget->hasFocus() && m_picture->focusedPictureItem() == m_index;
            state.offscreen = !m_picture->isPictureItemShown(m_index);
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override
    {
        if (!isValid())
            return;
        m_widget->setFocus(Qt::OtherFocusReason);
        m_picture->focusPictureItem(m_index);
        if (name == pressAction())
            m_picture->choosePictureItem(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QWidget> m_widget;
    ItemPicture* m_picture;
    int m_index;
};

QAccessibleInterface* pictureAccessible(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    auto* picture = dynamic_cast<ItemPicture*>(object);
    // Asked once per class up the hierarchy: answered for the widget's own class only.
    if (!widget || !picture || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    return new ItemPictureAccessible(widget, picture);
}

} // namespace

ItemPictureAccessible::ItemPictureAccessible(QWidget* widget, ItemPicture* picture)
    : QAccessibleWidget(widget, QAccessible::List), m_picture(picture)
{
}

ItemPictureAccessible::~ItemPictureAccessible()
{
    forgetChildren();
}

void ItemPictureAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(pictureAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void ItemPictureAccessible::itemsChanged(QWidget* widget)
{
    if (auto* accessible =
            dynamic_cast<ItemPictureAccessible*>(QAccessible::queryAccessibleInterface(widget)))
        accessible->forgetChildren();
    QAccessibleEvent changed(widget, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void ItemPictureAccessible::focusMoved(QWidget* widget, int index)
{
    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(widget);
    if (QAccessibleInterface* item = picture ? picture->child(index) : nullptr) {
        QAccessibleEvent focus(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

int ItemPictureAccessible::childCount() const
{
    return m_picture->pictureItemCount();
}

QAccessibleInterface* ItemPictureAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    auto found = m_children.constFind(index);
    if (found == m_children.cend())
        found =
            m_children.insert(index, QAccessible::registerAccessibleInterface(
                                         new PictureItemAccessible(widget(), m_picture, index)));
    return QAccessible::accessibleInterface(*found);
}

int ItemPictureAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    for (auto entry = m_children.cbegin(); entry != m_children.cend(); ++entry) {
        if (QAccessible::accessibleInterface(entry.value()) == child)
            return entry.key();
    }
    return -1;
}

QAccessibleInterface* ItemPictureAccessible::childAt(int x, int y) const
{
    for (int index = 0; index < childCount(); ++index) {
        if (m_picture->isPictureItemShown(index) &&
            m_picture->pictureItemScreenRect(index).contains(x, y))
            return child(index);
    }
    return nullptr;
}

QString ItemPictureAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Description)
        return m_picture->pictureSummary();
    return QAccessibleWidget::text(kind);
}

void ItemPictureAccessible::forgetChildren()
{
    for (const QAccessible::Id id : std::as_const(m_children))
        QAccessible::deleteAccessibleInterface(id);
    m_children.clear();
}

} // namespace Tempolane
