#include "TextLabel.h"

#include <QEvent>

namespace Tempolane {

TextLabel::TextLabel(TextStyle style, Tint tint, QWidget* parent)
    : TextLabel(QString(), style, tint, parent)
{
}

TextLabel::TextLabel(const QString& text, TextStyle style, Tint tint, QWidget* parent)
    : QLabel(text, parent), m_tint(tint)
{
    setTextFormat(Qt::PlainText);
    setTextStyle(style);
    applyTint();
}

void TextLabel::setTextStyle(TextStyle style, bool monospaced)
{
    setFont(styledFont(style, monospaced));
    // Fixed-width text is code.
    if (monospaced)
        keepLeftToRight(this);
    else
        unsetLayoutDirection();
}

void TextLabel::setTint(Tint tint)
{
    if (m_tint == tint)
        return;
    m_tint = tint;
    applyTint();
}

int TextLabel::heightForWidth(int width) const
{
    // Resizing the window passes through many widths; only the latest few are worth keeping.
    constexpr qsizetype keptWidths = 8;
    const Measured now = measured();
    if (now != m_measured || m_heightsByWidth.size() >= keptWidths) {
        m_heightsByWidth.clear();
        m_measured = now;
    }
    auto known = m_heightsByWidth.constFind(width);
    if (known == m_heightsByWidth.constEnd())
        known = m_heightsByWidth.insert(width, QLabel::heightForWidth(width));
    return *known;
}

TextLabel::Measured TextLabel::measured() const
{
    return {text(), font(), wordWrap(),
            contentsMargins() + QMargins(margin(), margin(), margin(), margin()), indent()};
}

void TextLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    // A label's palette changes with its window's, and Qt tells a label inside a window only
    // of that, not of the application's change.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        applyTint();
}

void TextLabel::applyTint()
{
    // Setting the same colour again changes nothing, so the change this causes ends here.
    QPalette own = palette();
    own.setColor(QPalette::WindowText, Palette::color(m_tint, own));
    setPalette(own);
}

} // namespace Tempolane
