#pragma once

#include <QStringView>
#include <QUuid>
#include <optional>

namespace Tempolane {

// Only the hyphenated 8-4-4-4-12 form, hexadecimal digits in either case; QUuid itself
// also accepts braces and other spellings.
std::optional<QUuid> parseCanonicalUuid(QStringView text);

// Lower case, hyphenated, no braces: the form every id takes outside memory.
QString canonicalText(const QUuid& id);

} // namespace Tempolane
