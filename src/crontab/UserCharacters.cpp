#include "UserCharacters.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace Tempolane::UserCharacters {

namespace {

// More code units than any character a person would write takes up.
constexpr qsizetype unitsPerCharacter = 16;

} // namespace

qsizetype count(QStringView text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), int(text.size()));
    qsizetype characters = 0;
    while (finder.toNextBoundary() > 0)
        ++characters;
    return characters;
}

QString leading(QStringView text, qsizetype count)
{
    const QStringView window = text.first(std::min(text.size(), count * unitsPerCharacter));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.data(), int(window.size()));
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < count; ++taken) {
        const qsizetype next = finder.toNextBoundary();
        // The window's end is a character's end only where the text ends too.
        if (next < 0 || (next == window.size() && window.size() < text.size()))
            break;
        end = next;
    }
    return window.first(end).toString();
}

} // namespace Tempolane::UserCharacters
