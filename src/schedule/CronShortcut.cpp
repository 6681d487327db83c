#include "CronShortcut.h"

#include <array>

namespace Tempolane {

namespace {

constexpr std::array<CronShortcut, 8> shortcuts{{
    {u"@reboot", u""},
    {u"@yearly", u"0 0 1 1 *"},
    {u"@annually", u"0 0 1 1 *"},
    {u"@monthly", u"0 0 1 * *"},
    {u"@weekly", u"0 0 * * 0"},
    {u"@daily", u"0 0 * * *"},
    {u"@midnight", u"0 0 * * *"},
    {u"@hourly", u"0 * * * *"},
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
