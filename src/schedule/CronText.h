#pragma once

#include <QList>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace Tempolane::CronText {

// A space or a tab: the only characters cron separates the fields of a line with.
bool isBlank(QChar c);

// Splits at runs of spaces and tabs, dropping empty pieces.
QList<QStringView> splitAtBlanks(QStringView text);

// Splits at runs of Unicode white space (tabs and line breaks included), dropping empty pieces.
QList<QStringView> splitAtWhitespace(QStringView text);

// Whether the text holds white space or a line break other than a space or a tab.
bool containsNonBlankWhitespace(QStringView text);

// A decimal number of ASCII digits without sign, as cron reads one; nothing else, and nothing
// that overflows 64 bits.
std::optional<std::int64_t> readNumber(QStringView text);

// Only ASCII digits, at least one.
bool isDigits(QStringView text);

// Equal but for the case of ASCII letters, as cron compares names; the second text is lower
// case. Other letters are compared exactly, so no look-alike ("ſun") passes for a name.
bool equalsIgnoringAsciiCase(QStringView text, QStringView lowercase);

} // namespace Tempolane::CronText
