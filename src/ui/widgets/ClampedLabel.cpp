#include "ClampedLabel.h"

#include "Palette.h"

#include <QPainter>
#include <QTextLayout>

namespace Tempolane {

ClampedLabel::ClampedLabel(int maximumLines, TextStyle style, Tint tint, QWidget* parent)
    : QWidget(parent), m_maximumLines(maximumLines), m_style(style), m_tint(tint)
{
    setFont(styledFont(style));
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void ClampedLabel::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void ClampedLabel::setMonospaced(bool monospaced)
{
    setFont(styledFont(m_style, monospaced));
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
        shown << m_text.sliced(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return shown;
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

void ClampedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Palette::color(m_tint, palette()));
    const int lineSpacing = QFontMetrics(font()).lineSpacing();
    int top = 0;
    for (const QString& line : lines(width())) {
        painter.drawText(QRect(0, top, width(), lineSpacing), Qt::AlignLeft | Qt::AlignVCenter,
                         line);
        top += lineSpacing;
    }
}

} // namespace Tempolane
