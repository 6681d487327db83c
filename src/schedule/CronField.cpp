#include "CronField.h"

#include "CronText.h"

#include <QCoreApplication>

namespace Tempolane {

namespace {

struct NamedValue
{
    const char16_t* name;
    int value;
};

constexpr std::array<NamedValue, 12> monthNames{{{u"jan", 1},
                                                 {u"feb", 2},
                                                 {u"mar", 3},
                                                 {u"apr", 4},
                                                 {u"may", 5},
                                                 {u"jun", 6},
                                                 {u"jul", 7},
                                                 {u"aug", 8},
                                                 {u"sep", 9},
                                                 {u"oct", 10},
                                                 {u"nov", 11},
                                                 {u"dec", 12}}};

constexpr std::array<NamedValue, 7> weekdayNames{
    {{u"sun", 0}, {u"mon", 1}, {u"tue", 2}, {u"wed", 3}, {u"thu", 4}, {u"fri", 5}, {u"sat", 6}}};

template <std::size_t N>
std::optional<int> lookUp(const std::array<NamedValue, N>& table, QStringView name)
{
    for (const auto& entry : table) {
        if (CronText::equalsIgnoringAsciiCase(name, entry.name))
            return entry.value;
    }
    return std::nullopt;
}

} // namespace

QString title(CronField field)
{
    switch (field) {
    case CronField::minute:
        return QCoreApplication::translate("CronField", "Minute");
    case CronField::hour:
        return QCoreApplication::translate("CronField", "Stunde");
    case CronField::dayOfMonth:
        return QCoreApplication::translate("CronField", "Tag");
    case CronField::month:
        return QCoreApplication::translate("CronField", "Monat");
    case CronField::weekday:
        return QCoreApplication::translate("CronField", "Wochentag");
    }
    Q_UNREACHABLE();
}

int lowerBound(CronField field)
{
    switch (field) {
    case CronField::minute:
    case CronField::hour:
    case CronField::weekday:
        return 0;
    case CronField::dayOfMonth:
    case CronField::month:
        return 1;
    }
    Q_UNREACHABLE();
}

int upperBound(CronField field)
{
    switch (field) {
    case CronField::minute:
        return 59;
    case CronField::hour:
        return 23;
    case CronField::dayOfMonth:
        return 31;
    case CronField::month:
        return 12;
    case CronField::weekday:
        return 7;
    }
    Q_UNREACHABLE();
}

std::optional<int> nameValue(CronField field, QStringView name)
{
    switch (field) {
    case CronField::month:
        return lookUp(monthNames, name);
    case CronField::weekday:
        return lookUp(weekdayNames, name);
    default:
        return std::nullopt;
    }
}

std::optional<std::int64_t> readValue(CronField field, QStringView text)
{
    if (const auto named = nameValue(field, text))
        return *named;
    return CronText::readNumber(text);
}

} // namespace Tempolane
