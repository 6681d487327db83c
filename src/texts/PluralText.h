#pragma once

#include "TextContext.h"

#include <QLocale>
#include <QString>

namespace Tempolane {

// A count with its noun in the grammatical number German gives that count. The pattern is
// looked up like every other text and written in ICU's plural syntax, with `#` for the count:
//     pluralText(tr, "=0 {Keine Jobs} one {# Job} other {# Jobs}", count)
// The count is written with the digits and grouping of `locale` ("1.000"), as the sidebar
// writes its counts.
QString pluralText(const TextContext& texts, const char* pattern, qint64 count,
                   const QLocale& locale = QLocale());

} // namespace Tempolane
