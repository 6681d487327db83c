#pragma once

#include "Palette.h"
#include "TextStyle.h"

#include <QHash>
#include <QLabel>

namespace Tempolane {

// A label in one of the named text styles and colours; it re-tints itself when the
// application switches between light and dark.
class TextLabel : public QLabel
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

    // Layouts ask a wrapped label for its height at a width many times whenever anything in
    // the window changes, at a few different widths; the answers are kept until the text, the
    // font or the wrapping changes.
    int heightForWidth(int width) const override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyTint();

    Tint m_tint;
    // What the height at a width depends on besides the width.
    struct Measured
    {
        QString text;
        QFont font;
        bool wordWrap = false;
        QMargins margins;
        int indent = -1;

        friend bool operator==(const Measured&, const Measured&) = default;
    };
    Measured measured() const;

    mutable QHash<int, int> m_heightsByWidth;
    mutable Measured m_measured;
};

} // namespace Tempolane
