#pragma once

#include "Tint.h"

#include <QAbstractButton>
#include <QVariantAnimation>

namespace Tempolane {

// An on/off switch with its label in front, filled with its tint while on. Screen readers read
// it as a check box named by its label.
class ToggleSwitch final : public QAbstractButton
{
    Q_OBJECT

public:
    ToggleSwitch(const QString& text, Tint tint, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void checkStateSet() override;
    void nextCheckState() override;
    void hideEvent(QHideEvent* event) override;

private:
    QRectF trackRect() const;

    Tint m_tint;
    // 0 off … 1 on; moves the knob.
    QVariantAnimation m_knob;
};

} // namespace Tempolane
