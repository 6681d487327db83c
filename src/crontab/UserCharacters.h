#pragma once

#include <QString>
#include <QStringView>

namespace Tempolane::UserCharacters {

// Counted and cut as a reader sees them: an accent with its letter, a flag or CR LF is one.
qsizetype count(QStringView text);
// The first `count` characters, or all of the text when it has fewer. Only as much of a long
// text is looked at as that many characters can take up, so cutting the start of a mebibyte
// costs no more than cutting a short line.
QString leading(QStringView text, qsizetype count);

} // namespace Tempolane::UserCharacters
