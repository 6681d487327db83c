#include "UpdateCommands.h"

#include "Dialogs.h"
#include "SymbolIcon.h"
#include "TextContext.h"
#include "UpdateCheckTexts.h"
#include "UpdateController.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <type_traits>

TEMPOLANE_TEXT_CONTEXT(UpdateCommands)

namespace Tempolane {

namespace {

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
    control->setIcon(symbolIcon(Symbol::arrowsClockwise));
    const auto showState = [control, &controller] {
        control->setText(UpdateCheckTexts::commandTitle(controller.isChecking()));
        control->setEnabled(controller.canCheckForUpdates());
        if constexpr (std::is_base_of_v<QWidget, Control>)
            control->setAccessibleName(control->text());
    };
    showState();
    QObject::connect(&controller, &UpdateController::isCheckingChanged, control, showState);
    QObject::connect(&controller, &UpdateController::canCheckForUpdatesChanged, control, showState);
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
    QObject::connect(button, &QPushButton::clicked, button,
                     [&controller, button] { startCheck(controller, button->window()); });
    return button;
}

void showUpdateOutcome(QWidget* window, const UpdateCheckOutcome& outcome,
                       const AppVersion& installed)
{
    if (const auto* offer = std::get_if<UpdateAvailable>(&outcome)) {
        const QString title = tr("Tempolane %1 ist verfügbar.").arg(offer->version);
        const QString message = UpdateCheckTexts::offerMessage(installed.line());
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
        const auto& failure = std::get<UpdateCheckFailed>(outcome);
        QMessageBox* alert =
            showAlert(window, tr("Die Suche nach Updates ist fehlgeschlagen."), failure.message);
        alert->setDetailedText(failure.detail);
    }
}

} // namespace Tempolane
