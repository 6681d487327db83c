#include "UpdateCommands.h"

#include "Dialogs.h"
#include "SymbolIcon.h"
#include "UpdateController.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QPushButton>

namespace Tempolane {

namespace {

QString tr(const char* source)
{
    return QCoreApplication::translate("UpdateCommands", source);
}

// The outcome of the check started here, shown over the window; nothing when the window is
// gone by then.
void startCheck(UpdateController& controller, QWidget* window)
{
    if (!controller.canCheckForUpdates())
        return;
    QObject::connect(
        &controller, &UpdateController::checkFinished, window,
        [window, &controller](const UpdateCheckOutcome& outcome) {
            showUpdateOutcome(window, outcome, controller.installedVersion());
        },
        Qt::SingleShotConnection);
    controller.checkForUpdates();
}

template <typename Control> void present(Control* control, UpdateController& controller)
{
    control->setObjectName(QStringLiteral("checkForUpdates"));
    control->setText(tr("Nach Updates suchen …"));
    control->setIcon(symbolIcon(Symbol::arrowsClockwise));
    control->setEnabled(controller.canCheckForUpdates());
    QObject::connect(&controller, &UpdateController::canCheckForUpdatesChanged, control,
                     &Control::setEnabled);
}

} // namespace

QAction* makeCheckForUpdatesAction(UpdateController& controller, QWidget* window)
{
    auto* action = new QAction(window);
    present(action, controller);
    action->setMenuRole(QAction::ApplicationSpecificRole);
    QObject::connect(action, &QAction::triggered, window,
                     [&controller, window] { startCheck(controller, window); });
    return action;
}

QPushButton* makeCheckForUpdatesButton(UpdateController& controller, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    present(button, controller);
    button->setAccessibleName(button->text());
    QObject::connect(button, &QPushButton::clicked, button,
                     [&controller, button] { startCheck(controller, button->window()); });
    return button;
}

void showUpdateOutcome(QWidget* window, const UpdateCheckOutcome& outcome,
                       const AppVersion& installed)
{
    if (const auto* offer = std::get_if<UpdateAvailable>(&outcome)) {
        const QString title = tr("Tempolane %1 ist verfügbar.").arg(offer->version);
        const QString message =
            tr("Installiert ist %1. Installieren Sie das Update mit der Paketverwaltung.")
                .arg(installed.line());
        if (offer->downloadPage.isEmpty()) {
            showAlert(window, title, message);
            return;
        }
        askForChoice(window, {title, message, tr("Download-Seite öffnen"), false}, tr("Später"),
                     [page = offer->downloadPage] { QDesktopServices::openUrl(page); });
    } else if (std::holds_alternative<UpToDate>(outcome)) {
        showAlert(window, tr("Tempolane ist auf dem neuesten Stand."),
                  tr("%1 ist die neueste verfügbare Version.").arg(installed.line()));
    } else {
        showAlert(window, tr("Die Suche nach Updates ist fehlgeschlagen."),
                  std::get<UpdateCheckFailed>(outcome).message);
    }
}

} // namespace Tempolane
