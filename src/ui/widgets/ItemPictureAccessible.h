#pragma once

#include <QAccessibleWidget>
#include <QHash>

namespace Tempolane {

class ItemPicture;

// What a screen reader finds in an `ItemPicture`: a list named as the widget is, whose
// description is the picture's summary, with one list item per item of the picture, named by
// its text. Pressing an item does what a click on it does.
class ItemPictureAccessible final : public QAccessibleWidget
{
public:
    ItemPictureAccessible(QWidget* widget, ItemPicture* picture);
    ~ItemPictureAccessible() override;

    // Lets Qt ask for these interfaces; once is enough, more is harmless.
    static void install();
    // The picture's items changed: the screen reader learns of it and of the new summary.
    static void itemsChanged(QWidget* widget);
    // The keyboard focus moved to the item.
    static void focusMoved(QWidget* widget, int index);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text kind) const override;

private:
    void forgetChildren();

    ItemPicture* m_picture;
    mutable QHash<int, QAccessible::Id> m_children;
};

} // namespace Tempolane
