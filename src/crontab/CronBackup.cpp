#include "CronBackup.h"

#include "CronSystemError.h"
#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(CronBackup)

namespace Tempolane {

QString CronBackup::flawDescription() const
{
    switch (flaw) {
    case Flaw::none:
        return {};
    case Flaw::tooLarge:
        return tr("größer als %1 MiB").arg(CronSystemError::outputLimit / (1024 * 1024));
    case Flaw::notUtf8:
        return tr("kein gültiger UTF-8-Text");
    case Flaw::unreadable:
        return tr("nicht lesbar: %1").arg(systemMessage);
    case Flaw::foreign:
        return tr("gehört einem anderen Benutzer");
    }
    Q_UNREACHABLE();
}

} // namespace Tempolane
