#pragma once

#include "Palette.h"

#include <QImage>
#include <QWidget>

namespace Tempolane {

// The window colour with an indigo glow from the top right and a cyan one from the bottom
// left; other content is placed on top of it.
class AmbientBackground final : public QWidget
{
    Q_OBJECT

public:
    static constexpr qreal indigoRadius = 640;
    static constexpr qreal cyanRadius = 560;
    static constexpr qreal focalRadius = 20;
    static constexpr int glowScale = 4;

    explicit AmbientBackground(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Everything the picture depends on.
    struct Look
    {
        QSize size;
        qreal ratio = 1;
        QColor window;
        QColor trailingGlow;
        QColor leadingGlow;
        Qt::LayoutDirection direction = Qt::LeftToRight;

        friend bool operator==(const Look&, const Look&) = default;
    };

    Look look() const;
    static QImage renderGlows(const Look& look);
    static QImage renderPicture(const Look& look);

    // A form repaints large parts of its window on every keystroke: the whole picture is drawn
    // once per look, and a repaint copies the part it needs.
    QImage m_picture;
    Look m_pictureLook;
};

} // namespace Tempolane
