#include "CronShortcut.h"

#include <QtGlobal>
#include <array>

namespace Tempolane {

namespace {

constexpr std::array<CronShortcut, 8> shortcuts{{
    {u"@reboot", u"", QT_TRANSLATE_NOOP("CronExpression", "Beim Systemstart")},
    {u"@yearly", u"0 0 1 1 *",
     QT_TRANSLATE_NOOP("CronExpression", "Jährlich am 1. Januar um 00:00")},
    {u"@annually", u"0 0 1 1 *",
     QT_TRANSLATE_NOOP("CronExpression", "Jährlich am 1. Januar um 00:00")},
    {u"@monthly", u"0 0 1 * *", QT_TRANSLATE_NOOP("CronExpression", "Monatlich am 1. um 00:00")},
    {u"@weekly", u"0 0 * * 0",
     QT_TRANSLATE_NOOP("CronExpression", "Wöchentlich sonntags um 00:00")},
    {u"@daily", u"0 0 * * *", QT_TRANSLATE_NOOP("CronExpression", "Täglich um 00:00")},
    {u"@midnight", u"0 0 * * *", QT_TRANSLATE_NOOP("CronExpression", "Täglich um 00:00")},
    {u"@hourly", u"0 * * * *", QT_TRANSLATE_NOOP("CronExpression", "Zu jeder vollen Stunde")},
}};

} // namespace

const CronShortcut* CronShortcut::find(QStringView text)
{
    for (const CronShortcut& shortcut : shortcuts) {
        if (text == shortcut.name)
            return &shortcut;
    }
    return nullptr;
}

} // namespace Tempolane
