#pragma once

#include "TextLabel.h"

namespace Tempolane {

// Text wrapped at word boundaries, or anywhere when a word is wider than the line, shown in at
// most a number of lines; what does not fit ends in an ellipsis. Unlike a wrapped label it
// never widens its layout, whatever the text. A plain label cannot stop after a number of lines.
class ClampedLabel final : public TextLabel
{
    Q_OBJECT

public:
    ClampedLabel(int maximumLines, TextStyle style, Tint tint, QWidget* parent = nullptr);

    // The whole text; the label shows what fits and is read out whole.
    void setText(const QString& text);
    void setMonospaced(bool monospaced);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The text of each shown line, the last one elided when the text goes on.
    QStringList lines(int width) const;
    void showLines();

    int m_maximumLines;
    TextStyle m_style;
    QString m_text;
};

} // namespace Tempolane
