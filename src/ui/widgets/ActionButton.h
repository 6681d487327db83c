#pragma once

#include "Symbol.h"

#include <QIcon>
#include <QPushButton>
#include <QVariantAnimation>
#include <optional>

namespace Tempolane {

// A button with a symbol, if it has one, before its label. Plain buttons show only their tinted
// label and a faint background under the pointer; the prominent one is filled with its tint. A busy
// button shows a turning indicator instead of its label and keeps its size.
class ActionButton final : public QPushButton
{
    Q_OBJECT

public:
    enum class Style
    {
        plain,
        prominent
    };

    ActionButton(const QString& text, std::optional<Symbol> symbol, Style style, Tint tint,
                 QWidget* parent = nullptr);

    void setBusy(bool isBusy);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QColor contentColor() const;
    void paintBackground(QPainter& painter) const;
    void paintContent(QPainter& painter, const QColor& color) const;
    void paintBusyIndicator(QPainter& painter, const QColor& color) const;
    void updateAnimation();
    int iconSide() const;

    QIcon m_icon;
    Style m_style;
    Tint m_tint;
    bool m_isBusy = false;
    QVariantAnimation m_spin;
};

} // namespace Tempolane
