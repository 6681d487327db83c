#include "ShownFinding.h"

#include "CrontabText.h"
#include "Silencing.h"
#include "TextContext.h"

#include <QMap>

TEMPOLANE_TEXT_CONTEXT(ShownFinding)

namespace Tempolane {

namespace {

// Long enough to recognise a line by, short enough for one row of the banner.
constexpr qsizetype shownLineLength = 60;

Symbol symbolOf(Severity severity)
{
    switch (severity) {
    case Severity::error:
        return Symbol::warningCircleFill;
    case Severity::warning:
        return Symbol::warningFill;
    case Severity::hint:
        return Symbol::info;
    }
    Q_UNREACHABLE();
}

Tint tintOf(Severity severity)
{
    switch (severity) {
    case Severity::error:
        return Tint::red;
    case Severity::warning:
        return Tint::orange;
    case Severity::hint:
        return Tint::secondary;
    }
    Q_UNREACHABLE();
}

QString shownLine(const QStringList& lines, qsizetype line)
{
    QString text = CrontabText::printable(CrontabText::trimmedSpacesAndTabs(lines.value(line - 1)));
    if (text.size() > shownLineLength)
        text = text.first(shownLineLength - 1) + u'…';
    return tr("Zeile %1: %2").arg(line).arg(text);
}

} // namespace

QList<ShownFinding> ShownFinding::of(const QList<Finding>& findings, const QStringList& lines,
                                     bool showsLines)
{
    QList<ShownFinding> shown;
    shown.reserve(findings.size());
    for (const Finding& finding : findings) {
        shown.append({symbolOf(finding.severity), tintOf(finding.severity), finding.message,
                      showsLines ? shownLine(lines, finding.line) : QString(), finding.fixes,
                      Silencing::silencing(lines, finding)});
    }
    return shown;
}

QString lineFindingsTitle(const QList<Finding>& findings)
{
    // A line never runs where an error stands on it that is not about an assignment or the
    // file's form.
    QMap<qsizetype, bool> failsByLine;
    for (const Finding& finding : findings)
        failsByLine[finding.line] |= finding.severity == Severity::error &&
                                     finding.id != u"assignment" && finding.id != u"final-newline";
    const bool neverRun =
        std::all_of(failsByLine.cbegin(), failsByLine.cend(), [](bool fails) { return fails; });
    return neverRun ? tr.plural("one {# Zeile deiner Crontab läuft nie} "
                                 "other {# Zeilen deiner Crontab laufen nie}",
                                 failsByLine.size())
                    : tr.plural("one {# Zeile deiner Crontab braucht einen Blick} "
                                 "other {# Zeilen deiner Crontab brauchen einen Blick}",
                                 failsByLine.size());
}

} // namespace Tempolane
