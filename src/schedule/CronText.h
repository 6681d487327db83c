#pragma once

#include <QList>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace Tempolane::CronText {

// Splits at runs of Unicode white space (tabs and line breaks included), dropping empty pieces.
QList<QStringView> splitAtWhitespace(QStringView text);

// A decimal integer of ASCII digits with at most one leading "+" or "-"; nothing else, and
// nothing that overflows 64 bits.
std::optional<std::int64_t> readInteger(QStringView text);

// Equal but for the case of ASCII letters, as cron compares names; the second text is lower
// case. Other letters are compared exactly, so no look-alike ("ſun") passes for a name.
bool equalsIgnoringAsciiCase(QStringView text, QStringView lowercase);

} // namespace Tempolane::CronText
