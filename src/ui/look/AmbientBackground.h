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
        QColor window;
        QColor trailingGlow;
        QColor leadingGlow;
        Qt::LayoutDirection direction = Qt::LeftToRight;

        friend bool operator==(const Look&, const Look&) = default;
    };

    Look look() const;
    static QImage renderGlows(const Look& look);

    // The gradients cost far more than stretching them: a form repaints parts of its window on
    // every keystroke, so they are drawn once per look.
    QImage m_glows;
    Look m_glowsLook;
};

} // namespace Tempolane
