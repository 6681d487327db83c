#pragma once

#include <QString>
#include <QStringView>

namespace Tempolane::CrontabText {

// Unicode space separators and the horizontal tab.
bool isSpaceOrTab(QChar c);
// LF, VT, FF, CR, NEL and the line and paragraph separators.
bool isLineBreak(QChar c);
// Spaces and tabs, plus the line breaks.
bool isBlankOrLineBreak(QChar c);

QStringView trimmedSpacesAndTabs(QStringView text);

enum class Tabs
{
    escaped,
    kept
};

// Text from a crontab or a job's output with its control characters written as escapes
// ("\x1b", "\u009b"), so that showing it cannot retitle or clear the user's terminal, and a
// tab or line break inside it cannot break a line of fields apart. Tabs may be kept where
// they only indent, as in a line shown on its own.
QString printable(QStringView text, Tabs tabs = Tabs::escaped);
QStringView trimmedBlanksAndLineBreaks(QStringView text);

} // namespace Tempolane::CrontabText
