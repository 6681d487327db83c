#pragma once

#include <QToolButton>

class QHBoxLayout;

namespace Tempolane {

// The header of a collapsible part: an arrow that points right while collapsed and down while
// expanded, followed by whatever the owner puts beside it. Checked means expanded. Space, Enter
// and Return toggle it; screen readers hear whether it is expanded.
class DisclosureButton final : public QToolButton
{
    Q_OBJECT

public:
    // The accessible name is what a screen reader says for the whole header.
    DisclosureButton(const QString& accessibleName, int verticalPadding, QWidget* parent = nullptr);

    // Puts a widget beside the arrow; presses on it press the header.
    void addContent(QWidget* widget, int stretch = 0);
    void addStretch();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The content starts after the arrow, whose size follows the font and whose side follows
    // the layout direction.
    void placeContent();

    QHBoxLayout* m_layout;
    int m_verticalPadding;
};

} // namespace Tempolane
