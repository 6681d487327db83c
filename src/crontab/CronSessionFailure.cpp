#include "CronSessionFailure.h"

#include "CrontabText.h"
#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(CronSessionFailure)

namespace Tempolane {

QString CronSessionFailure::description() const
{
    const QString shownSubject = CrontabText::printable(subject);
    switch (kind) {
    case Kind::unterminatedReference:
        return tr("cron führt für dieses Konto keinen Cronjob aus, auch diesen nicht: PAM bricht "
                  "die Sitzung ab, weil in %1, Zeile %2, „%3“ nicht mit „}“ geschlossen ist.")
            .arg(file)
            .arg(line)
            .arg(shownSubject);
    case Kind::valueTooLong:
        return tr("cron führt für dieses Konto keinen Cronjob aus, auch diesen nicht: PAM bricht "
                  "die Sitzung ab, weil in %1, Zeile %2, der Wert von %3 länger als 8191 Bytes "
                  "wird.")
            .arg(file)
            .arg(line)
            .arg(shownSubject);
    case Kind::unreadableLine:
        break;
    }
    return tr("cron führt für dieses Konto keinen Cronjob aus, auch diesen nicht: PAM bricht die "
              "Sitzung ab, weil %1 ab Zeile %2 nicht lesbar ist (eine Zeile länger als 8190 "
              "Bytes, ein Nullbyte oder eine Fortsetzung, die am Dateiende abbricht).")
        .arg(file)
        .arg(line);
}

} // namespace Tempolane
