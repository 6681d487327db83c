#pragma once

#include "Palette.h"
#include "TextStyle.h"

#include <QLabel>

namespace Tempolane {

// A label in one of the named text styles and colours; it re-tints itself when the
// application switches between light and dark.
class TextLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit TextLabel(TextStyle style = TextStyle::body, Tint tint = Tint::primary,
                       QWidget* parent = nullptr);
    TextLabel(const QString& text, TextStyle style, Tint tint = Tint::primary,
              QWidget* parent = nullptr);

    void setTextStyle(TextStyle style, bool monospaced = false);
    void setTint(Tint tint);
    Tint tint() const { return m_tint; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyTint();

    Tint m_tint;
};

} // namespace Tempolane
