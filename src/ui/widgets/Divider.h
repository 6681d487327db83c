#pragma once

#include <QWidget>

namespace Tempolane {

// A hairline between parts of a card, drawn at a share of the separator's strength.
class Divider final : public QWidget
{
    Q_OBJECT

public:
    explicit Divider(qreal opacity, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_opacity;
};

} // namespace Tempolane
