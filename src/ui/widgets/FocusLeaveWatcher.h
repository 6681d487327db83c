#pragma once

#include <QObject>

class QWidget;

namespace Tempolane {

// Tells when the keyboard focus moves on from a field to another control, typed into or not.
// Switching to another window or opening a menu is no leaving: the user comes straight back.
class FocusLeaveWatcher final : public QObject
{
    Q_OBJECT

public:
    // Watches `field` and lives as long as it does.
    explicit FocusLeaveWatcher(QWidget* field);

Q_SIGNALS:
    void left();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace Tempolane
