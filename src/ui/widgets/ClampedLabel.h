#pragma once

#include "TextStyle.h"
#include "Tint.h"

#include <QWidget>

namespace Tempolane {

// Text wrapped at word boundaries, or anywhere when a word is wider than the line, shown in at
// most a number of lines; what does not fit ends in an ellipsis. Unlike a label it never
// widens its layout, whatever the text.
class ClampedLabel final : public QWidget
{
    Q_OBJECT

public:
    ClampedLabel(int maximumLines, TextStyle style, Tint tint, QWidget* parent = nullptr);

    void setText(const QString& text);
    void setMonospaced(bool monospaced);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The text of each shown line, the last one elided when the text goes on.
    QStringList lines(int width) const;

    int m_maximumLines;
    TextStyle m_style;
    Tint m_tint;
    QString m_text;
};

} // namespace Tempolane
