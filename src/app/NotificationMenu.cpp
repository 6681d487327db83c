#include "NotificationMenu.h"

#include "CronStore.h"
#include "Dialogs.h"
#include "MainWindow.h"
#include "NotificationOffer.h"
#include "NotificationSwitch.h"
#include "TextContext.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

TEMPOLANE_TEXT_CONTEXT(NotificationMenu)

namespace Tempolane {

namespace {

void switchTo(bool isOn, QAction* action, MainWindow& window)
{
    const NotificationSwitch notificationSwitch(NotificationSwitch::userAutostartFolder(),
                                                NotificationSwitch::desktopProgram());
    const auto switched = isOn ? notificationSwitch.switchOn() : notificationSwitch.switchOff();
    if (!isOn)
        NotificationSwitch::stopWatcher();
    const QSignalBlocker quiet(action);
    action->setChecked(notificationSwitch.isOn());
    if (!switched)
        showAlert(&window, tr("Benachrichtigungen konnten nicht umgeschaltet werden"),
                  switched.error());
    else if (!switched->note.isEmpty())
        showAlert(&window, tr("Benachrichtigungen umgeschaltet"), switched->note);
}

} // namespace

QAction* addNotificationsAction(QMenu& menu, MainWindow& window)
{
    auto* action = menu.addAction(tr("Benachrichtigungen bei Fehlern"));
    action->setObjectName(QStringLiteral("notificationsAction"));
    action->setCheckable(true);
    const auto showCurrentState = [action] {
        const QSignalBlocker quiet(action);
        action->setChecked(
            NotificationSwitch(NotificationSwitch::userAutostartFolder(), {}).isOn());
    };
    showCurrentState();
    // A switch in a terminal or in the desktop's settings shows the next time the menu opens.
    QObject::connect(&menu, &QMenu::aboutToShow, action, showCurrentState);
    QObject::connect(action, &QAction::toggled, &window,
                     [action, &window](bool isOn) { switchTo(isOn, action, window); });

    CronStore& store = window.store();
    QObject::connect(&store, &CronStore::lastChangeChanged, action, [action, &window, &store] {
        QSettings defaults(QStringLiteral("Tempolane"), QStringLiteral("Tempolane"));
        if (!NotificationOffer::shouldOffer(store.lastChange(), action->isChecked(),
                                            defaults.value(NotificationOffer::offeredKey).toBool()))
            return;
        defaults.setValue(NotificationOffer::offeredKey, true);
        askForChoice(&window,
                     {tr("Bei Fehlern benachrichtigen?"),
                      tr("Tempolane kann dir eine Mitteilung zeigen, wenn ein Cronjob fehlschlägt, "
                         "unerwartet beendet wird oder nicht ausgeführt wurde – auch wenn das "
                         "Fenster geschlossen ist."),
                      tr("Benachrichtigen"), false},
                     tr("Nicht jetzt"), [action] { action->setChecked(true); });
    });
    return action;
}

} // namespace Tempolane
