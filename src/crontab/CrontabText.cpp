#include "CrontabText.h"

namespace Tempolane::CrontabText {

namespace {

template <typename Predicate> QStringView trimmed(QStringView text, Predicate isTrimmed)
{
    while (!text.isEmpty() && isTrimmed(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isTrimmed(text.back()))
        text.chop(1);
    return text;
}

} // namespace

bool isSpaceOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u'\u0085':
    case u'\u2028':
    case u'\u2029':
        return true;
    default:
        return false;
    }
}

bool isBlankOrLineBreak(QChar c)
{
    return isLineBreak(c) || isSpaceOrTab(c);
}

QStringView trimmedSpacesAndTabs(QStringView text)
{
    return trimmed(text, isSpaceOrTab);
}

QStringView trimmedBlanksAndLineBreaks(QStringView text)
{
    return trimmed(text, isBlankOrLineBreak);
}

QString printable(QStringView text, Tabs tabs)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control || (c == u'\t' && tabs == Tabs::kept))
            shown += c;
        else if (c.unicode() < 0x80)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
        else
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    }
    return shown;
}

} // namespace Tempolane::CrontabText
