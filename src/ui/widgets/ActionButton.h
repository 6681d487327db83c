#pragma once

#include "Symbol.h"

#include <QPushButton>
#include <QVariantAnimation>
#include <optional>

namespace Tempolane {

// A push button with a symbol, if it has one, before its label. The application's style draws
// plain ones as their tinted label on a faint wash under the pointer and prominent ones filled
// with their tint. A busy button shows a turning indicator instead of its label and keeps its
// size.
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

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateAnimation();

    bool m_isBusy = false;
    QVariantAnimation m_spin;
};

} // namespace Tempolane
