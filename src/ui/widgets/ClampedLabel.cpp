#include "ClampedLabel.h"

#include <QTextLayout>

namespace Tempolane {

ClampedLabel::ClampedLabel(int maximumLines, TextStyle style, Tint tint, QWidget* parent)
    : TextLabel(style, tint, parent), m_maximumLines(maximumLines), m_style(style)
{
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void ClampedLabel::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    showLines();
    updateGeometry();
}

void ClampedLabel::setMonospaced(bool monospaced)
{
    setTextStyle(m_style, monospaced);
    showLines();
    updateGeometry();
}

QStringList ClampedLabel::lines(int width) const
{
    QStringList shown;
    if (m_text.isEmpty() || width <= 0)
        return shown;
    QTextLayout layout(m_text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (shown.size() + 1 == m_maximumLines) {
            const QString rest = m_text.sliced(line.textStart());
            shown << QFontMetrics(font()).elidedText(rest, Qt::ElideRight, width);
            break;
        }
        // A wrapped line keeps no space or line break at its end.
        QString text = m_text.sliced(line.textStart(), line.textLength());
        while (!text.isEmpty() && text.back().isSpace())
            text.chop(1);
        shown << text;
    }
    layout.endLayout();
    return shown;
}

void ClampedLabel::showLines()
{
    QLabel::setText(lines(width()).join(u'\n'));
}

int ClampedLabel::heightForWidth(int width) const
{
    return int(lines(width).size()) * QFontMetrics(font()).lineSpacing();
}

QSize ClampedLabel::sizeHint() const
{
    const int width = QFontMetrics(font()).horizontalAdvance(m_text);
    return {width, heightForWidth(std::max(width, 1))};
}

QSize ClampedLabel::minimumSizeHint() const
{
    return {0, QFontMetrics(font()).lineSpacing()};
}

void ClampedLabel::resizeEvent(QResizeEvent* event)
{
    TextLabel::resizeEvent(event);
    showLines();
}

} // namespace Tempolane
