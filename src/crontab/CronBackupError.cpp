#include "CronBackupError.h"

#include "TextContext.h"

#include <QCoreApplication>
#include <QDir>

TEMPOLANE_TEXT_CONTEXT(CronBackupError)

namespace Tempolane {

QString CronBackupError::description() const
{
    const QString shownPath = QDir::toNativeSeparators(path);
    switch (operation) {
    case Operation::locateDirectory:
        return tr("Der Ordner für Sicherungskopien konnte nicht bestimmt werden.");
    case Operation::createDirectory:
        return tr("Der Ordner „%1“ konnte nicht angelegt werden: %2").arg(shownPath, message);
    case Operation::foreignDirectory:
        return message;
    case Operation::setPermissions:
        return tr("Die Zugriffsrechte von „%1“ konnten nicht gesetzt werden: %2")
            .arg(shownPath, message);
    case Operation::writeFile:
        return tr("Die Sicherungskopie „%1“ konnte nicht geschrieben werden: %2")
            .arg(shownPath, message);
    case Operation::listDirectory:
        return tr("Der Ordner „%1“ konnte nicht gelesen werden: %2").arg(shownPath, message);
    case Operation::readDate:
        return tr("Das Änderungsdatum von „%1“ konnte nicht gelesen werden: %2")
            .arg(shownPath, message);
    case Operation::removeFile:
        return tr("Die alte Sicherungskopie „%1“ konnte nicht gelöscht werden: %2")
            .arg(shownPath, message);
    }
    Q_UNREACHABLE();
}

} // namespace Tempolane
