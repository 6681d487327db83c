#pragma once

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
};

} // namespace Tempolane
