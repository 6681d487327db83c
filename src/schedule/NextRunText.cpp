#include "NextRunText.h"

#include "LocaleFormat.h"

namespace Tempolane {

QString nextRunText(const std::optional<QDateTime>& run, const QTimeZone& zone,
                    const QLocale& locale)
{
    if (!run || !run->isValid())
        return QStringLiteral("—");
    if (locale.language() == QLocale::German)
        return run->toTimeZone(zone).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    return LocaleFormat::dateTime(u"yMdjmm", *run, locale, zone);
}

} // namespace Tempolane
