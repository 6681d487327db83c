#include "Silencing.h"

#include "CrontabText.h"
#include "TextContext.h"

#include <QRegularExpression>

TEMPOLANE_TEXT_CONTEXT(Checks)

namespace Tempolane::Silencing {

namespace {

struct Comment
{
    bool isEverywhere = false;
    QStringList ids;
};

std::optional<Comment> commentOf(const QString& line)
{
    // Most lines are no comment, and most comments not this one: two looks spare them the
    // pattern.
    const QStringView text = CrontabText::trimmedSpacesAndTabs(line);
    if (!text.startsWith(u'#') || !text.contains(u"tempolane", Qt::CaseInsensitive))
        return std::nullopt;
    static const QRegularExpression pattern(
        QStringLiteral("^[ \\t]*#[ \\t]*tempolane:[ \\t]*ignore(-file)?[ \\t]+([a-z0-9, \\t-]+?)"
                       "[ \\t\\r]*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    Comment comment{!match.captured(1).isEmpty(), {}};
    for (const QString& id : match.captured(2).split(u',', Qt::SkipEmptyParts)) {
        if (!id.trimmed().isEmpty())
            comment.ids.append(id.trimmed().toLower());
    }
    return comment;
}

} // namespace

QSet<QString> silencedEverywhere(const QStringList& lines)
{
    QSet<QString> ids;
    for (const QString& line : lines) {
        if (const auto comment = commentOf(line); comment && comment->isEverywhere)
            ids.unite(QSet<QString>(comment->ids.cbegin(), comment->ids.cend()));
    }
    return ids;
}

QSet<QString> silencedAbove(const QStringList& lines, qsizetype index)
{
    QSet<QString> ids;
    for (qsizetype above = index - 1; above >= 0; --above) {
        const auto comment = commentOf(lines[above]);
        if (!comment || comment->isEverywhere)
            break;
        ids.unite(QSet<QString>(comment->ids.cbegin(), comment->ids.cend()));
    }
    return ids;
}

Fix silencing(const QStringList& lines, const Finding& finding)
{
    const QString& id = finding.id;
    const std::optional<qsizetype> index = finding.commentLine;
    Fix fix{tr("Nicht mehr anzeigen"), tr("Hinweis „%1“ ausblenden").arg(id), {}, {}};
    const qsizetype at = index.value_or(0);
    if (lines.isEmpty()) {
        fix.edits.append({0, {}, {QStringLiteral("# tempolane: ignore-file ") + id, {}}});
        return fix;
    }
    const auto comment = at > 0 ? commentOf(lines[at - 1]) : std::nullopt;
    if (index && comment && !comment->isEverywhere) {
        fix.edits.append({at - 1,
                          lines[at - 1],
                          {QStringLiteral("# tempolane: ignore ") +
                           (comment->ids + QStringList(id)).join(u',')}});
        return fix;
    }
    const QString written = index ? QStringLiteral("# tempolane: ignore ")
                                  : QStringLiteral("# tempolane: ignore-file ");
    fix.edits.append({at, lines[at], {written + id, lines[at]}});
    return fix;
}

} // namespace Tempolane::Silencing
