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
    QObject::connect(
        box, &QMessageBox::finished, box,
        [box, confirm, onConfirm = std::move(onConfirm), onCancel = std::move(onCancel)] {
            if (box->clickedButton() == confirm) {
                if (onConfirm)
                    onConfirm();
            } else if (onCancel) {
                onCancel();
            }
        });
    box->open();
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
