#include "Dialogs.h"

#include "Palette.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace Tempolane {

namespace {

QMessageBox* messageBox(QWidget* parent, const QString& objectName, const QString& title,
                        const QString& message)
{
    auto* box = new QMessageBox(parent);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setWindowTitle(title);
    box->setText(title);
    box->setInformativeText(message);
    box->setTextFormat(Qt::PlainText);
    box->setIcon(QMessageBox::NoIcon);
    return box;
}

using ButtonAction = std::pair<QAbstractButton*, std::function<void()>>;

// Once the box is closed, runs the action of the button it was closed with, or `otherwise`
// (Escape, the window's close button).
void runChosenAction(QMessageBox* box, QList<ButtonAction> actions, std::function<void()> otherwise)
{
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, actions = std::move(actions), otherwise = std::move(otherwise)] {
                         const auto chosen = std::find_if(
                             actions.cbegin(), actions.cend(), [&](const ButtonAction& action) {
                                 return action.first == box->clickedButton();
                             });
                         const auto& run = chosen != actions.cend() ? chosen->second : otherwise;
                         if (run)
                             run();
                     });
    box->open();
}

} // namespace

QMessageBox* askForConfirmation(QWidget* parent, const Confirmation& confirmation,
                                std::function<void()> onConfirm, std::function<void()> onCancel)
{
    return askForChoice(parent, confirmation, QCoreApplication::translate("Dialogs", "Abbrechen"),
                        std::move(onConfirm), std::move(onCancel));
}

QMessageBox* askForChoice(QWidget* parent, const Confirmation& confirmation,
                          const QString& declineLabel, std::function<void()> onConfirm,
                          std::function<void()> onCancel)
{
    QMessageBox* box = messageBox(parent, QStringLiteral("confirmationDialog"), confirmation.title,
                                  confirmation.message);
    QPushButton* confirm = box->addButton(confirmation.confirmLabel,
                                          confirmation.isDestructive ? QMessageBox::DestructiveRole
                                                                     : QMessageBox::AcceptRole);
    confirm->setObjectName(QStringLiteral("confirmButton"));
    QPushButton* cancel = box->addButton(declineLabel, QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    box->setEscapeButton(cancel);
    // A destructive choice is never the one Return picks.
    box->setDefaultButton(confirmation.isDestructive ? cancel : confirm);
    if (confirmation.isDestructive) {
        QPalette red = confirm->palette();
        red.setColor(QPalette::ButtonText, Palette::color(Tint::red, QApplication::palette()));
        confirm->setPalette(red);
    }
    runChosenAction(box, {{confirm, std::move(onConfirm)}}, std::move(onCancel));
    return box;
}

QMessageBox* askToSave(QWidget* parent, const SaveQuestion& question, std::function<void()> onSave,
                       std::function<void()> onDiscard, std::function<void()> onCancel)
{
    QMessageBox* box =
        messageBox(parent, QStringLiteral("saveQuestionDialog"), question.title, QString());
    QPushButton* save = box->addButton(question.saveLabel, QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("saveButton"));
    QPushButton* discard = box->addButton(question.discardLabel, QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("discardButton"));
    QPushButton* cancel = box->addButton(question.cancelLabel, QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    box->setEscapeButton(cancel);
    box->setDefaultButton(save);
    runChosenAction(box, {{save, std::move(onSave)}, {discard, std::move(onDiscard)}},
                    std::move(onCancel));
    return box;
}

QMessageBox* showAlert(QWidget* parent, const QString& title, const QString& message,
                       std::function<void()> onDismiss)
{
    QMessageBox* box = messageBox(parent, QStringLiteral("alertDialog"), title, message);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    QObject::connect(box, &QMessageBox::finished, box, [onDismiss = std::move(onDismiss)] {
        if (onDismiss)
            onDismiss();
    });
    box->open();
    return box;
}

} // namespace Tempolane
