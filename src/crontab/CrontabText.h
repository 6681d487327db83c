#pragma once

#include <QStringView>

namespace Tempolane::CrontabText {

// Unicode space separators and the horizontal tab.
bool isSpaceOrTab(QChar c);
// LF, VT, FF, CR, NEL and the line and paragraph separators.
bool isLineBreak(QChar c);
// Spaces and tabs, plus the line breaks.
bool isBlankOrLineBreak(QChar c);

QStringView trimmedSpacesAndTabs(QStringView text);
QStringView trimmedBlanksAndLineBreaks(QStringView text);

} // namespace Tempolane::CrontabText
