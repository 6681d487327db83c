#pragma once

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

    explicit AmbientBackground(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage render() const;

    // The gradients cost far more than copying them: a form repaints parts of its window on
    // every keystroke, so they are drawn once per size and scheme.
    QImage m_rendered;
    QColor m_renderedWindow;
    Qt::LayoutDirection m_renderedDirection = Qt::LeftToRight;
};

} // namespace Tempolane
