#pragma once

#include <QString>

namespace Tempolane::UserCharacters {

// Counted and cut as a reader sees them: an accent with its letter, a flag or CR LF is one.
qsizetype count(const QString& text);
QString leading(const QString& text, qsizetype count);

} // namespace Tempolane::UserCharacters
