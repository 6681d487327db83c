#include "CronBackupError.h"

#include "TextContext.h"

#include <QCoreApplication>
#include <QDir>

TEMPOLANE_TEXT_CONTEXT(CronBackupError)

namespace Tempolane {

QString CronBackupError::summary() const
{
    const QString shownPath = QDir::toNativeSeparators(path);
    switch (operation) {
    case Operation::locateDirectory:
        return tr("Der Ordner für Sicherungskopien konnte nicht bestimmt werden.");
    case Operation::createDirectory:
        return tr("Der Ordner „%1“ konnte nicht angelegt werden.").arg(shownPath);
    case Operation::foreignDirectory:
        // Already Tempolane's own sentence, naming the folder and its owner.
        return message;
    case Operation::setPermissions:
        return tr("Die Zugriffsrechte von „%1“ konnten nicht gesetzt werden.").arg(shownPath);
    case Operation::writeFile:
        return tr("Die Sicherungskopie „%1“ konnte nicht geschrieben werden.").arg(shownPath);
    case Operation::listDirectory:
        return tr("Der Ordner „%1“ konnte nicht gelesen werden.").arg(shownPath);
    case Operation::readDate:
        return tr("Das Änderungsdatum von „%1“ konnte nicht gelesen werden.").arg(shownPath);
    case Operation::removeFile:
        return tr("Die alte Sicherungskopie „%1“ konnte nicht gelöscht werden.").arg(shownPath);
    }
    Q_UNREACHABLE();
}

QString CronBackupError::details() const
{
    return operation == Operation::foreignDirectory ? QString() : message;
}

QString CronBackupError::description() const
{
    const QString system = details();
    return system.isEmpty() ? summary() : summary() + u' ' + system;
}

} // namespace Tempolane
