#include "TextLabel.h"

#include <QApplication>
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
}

void TextLabel::setTint(Tint tint)
{
    if (m_tint == tint)
        return;
    m_tint = tint;
    applyTint();
}

void TextLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        applyTint();
}

void TextLabel::applyTint()
{
    QPalette own = palette();
    own.setColor(QPalette::WindowText, Palette::color(m_tint, QApplication::palette()));
    setPalette(own);
}

} // namespace Tempolane
