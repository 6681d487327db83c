#pragma once

#include <QRect>
#include <QString>
#include <optional>

class QWidget;

namespace Tempolane {

// A widget that draws items of its own, such as the marks of a timeline or the bars of a chart,
// which the arrow keys move between. Through `ItemPictureAccessible` a screen reader finds the
// picture by its name, reads its summary, and reaches, reads and presses each item.
class ItemPicture
{
public:
    virtual ~ItemPicture() = default;

    virtual int pictureItemCount() const = 0;
    virtual QString pictureItemText(int index) const = 0;
    // On the screen.
    virtual QRect pictureItemScreenRect(int index) const = 0;
    virtual bool isPictureItemShown(int index) const = 0;
    virtual std::optional<int> focusedPictureItem() const = 0;
    virtual void focusPictureItem(int index) = 0;
    // What a click on the item does.
    virtual void choosePictureItem(int index) = 0;
    virtual QString pictureSummary() const = 0;
};

} // namespace Tempolane
