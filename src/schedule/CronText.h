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

} // namespace Tempolane::CronText
