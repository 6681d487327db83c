#pragma once

#include <QVariantAnimation>
#include <QWidget>

namespace Tempolane {

// Holds one widget at its natural height. When the owner changes what that widget shows, the
// container's height springs from the old height to the new one and clips the content
// meanwhile. The spring runs only while the container is visible.
class SpringContainer final : public QWidget
{
    Q_OBJECT

public:
    explicit SpringContainer(QWidget* content, QWidget* parent = nullptr);

    // Call around a change of the content: before it, to note the height to spring from.
    void prepareChange();
    // After it, to start the spring towards the content's new height.
    void commitChange();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int contentHeight() const;
    void placeContent();
    void finish();

    QWidget* m_content;
    int m_startHeight = 0;
    std::optional<int> m_animatedHeight;
    QVariantAnimation m_animation;
};

} // namespace Tempolane
