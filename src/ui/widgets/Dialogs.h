#pragma once

#include <QString>
#include <functional>

class QMessageBox;
class QWidget;

namespace Tempolane {

struct Confirmation
{
    QString title;
    QString message;
    QString confirmLabel;
    bool isDestructive = false;
};

// The one way views ask and tell. Both open a window-modal box and return at once, so no view
// waits in a nested event loop; tests answer the box by its object name ("confirmationDialog",
// "alertDialog") and its buttons' ("confirmButton", "cancelButton", "okButton").
//
// onConfirm runs only when the confirm button is chosen; every other way of closing the box
// runs onCancel.
QMessageBox* askForConfirmation(QWidget* parent, const Confirmation& confirmation,
                                std::function<void()> onConfirm,
                                std::function<void()> onCancel = {});

// askForConfirmation with the other button named declineLabel ("Später") instead of
// "Abbrechen"; onDecline runs for every way of closing the box but the confirm button.
QMessageBox* askForChoice(QWidget* parent, const Confirmation& confirmation,
                          const QString& declineLabel, std::function<void()> onConfirm,
                          std::function<void()> onDecline = {});

struct SaveQuestion
{
    QString title;
    QString saveLabel;
    QString discardLabel;
    QString cancelLabel;
};

// Asks whether to save before going on: "saveButton" runs onSave, "discardButton" onDiscard,
// and every other way of closing the box ("cancelButton", Escape) onCancel. Return picks save.
QMessageBox* askToSave(QWidget* parent, const SaveQuestion& question, std::function<void()> onSave,
                       std::function<void()> onDiscard, std::function<void()> onCancel);

// onDismiss runs however the alert is closed.
QMessageBox* showAlert(QWidget* parent, const QString& title, const QString& message,
                       std::function<void()> onDismiss = {});

} // namespace Tempolane
