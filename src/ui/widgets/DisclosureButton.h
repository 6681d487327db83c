#pragma once

#include <QAbstractButton>

class QHBoxLayout;

namespace Tempolane {

// The header of a collapsible part: a chevron that points right while collapsed and down while
// expanded, followed by whatever the owner puts beside it. Checked means expanded.
class DisclosureButton final : public QAbstractButton
{
    Q_OBJECT

public:
    // The accessible name is what a screen reader says for the whole header.
    DisclosureButton(const QString& accessibleName, int verticalPadding, QWidget* parent = nullptr);

    // Puts a widget beside the chevron; presses on it press the header.
    void addContent(QWidget* widget, int stretch = 0);
    void addStretch();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* m_layout;
};

} // namespace Tempolane
