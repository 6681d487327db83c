#pragma once

#include <QAccessibleWidget>

class QAbstractButton;

namespace Tempolane {

// What a screen reader hears of the checkable buttons that Qt would read as check boxes: a
// segment is a radio button, a disclosure header a button that is expanded or collapsed. The
// Toggle action presses the button, as a click would.
class ButtonAccessible final : public QAccessibleWidget
{
public:
    enum class Kind
    {
        radioButton,
        disclosure
    };

    ButtonAccessible(QAbstractButton* button, Kind kind);

    // Lets Qt ask for these interfaces; once is enough, more is harmless.
    static void install();

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& name) override;

private:
    QAbstractButton* button() const;

    Kind m_kind;
};

} // namespace Tempolane
