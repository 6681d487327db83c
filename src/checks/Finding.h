#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace Tempolane {

// How sure it is that a line will not do what its author meant.
enum class Severity
{
    // cron will not run it as written.
    error,
    // It runs, but not as the author most likely meant.
    warning,
    hint
};

// "error", "warning", "hint": the words compilers print, which `check` prints too.
QString rawValue(Severity severity);

// One line of the crontab replaced by other lines (none to delete it, two to put one above
// it). `expected` is what the line held when the edit was made: an edit is applied only to
// the text it was made for.
struct LineEdit
{
    // 0-based.
    qsizetype line = 0;
    QString expected;
    QStringList replacement;

    friend bool operator==(const LineEdit&, const LineEdit&) = default;
};

// A safe way to take the cause away: edits of the crontab, or making a file executable.
struct Fix
{
    // The button's text: "Pfad ergänzen".
    QString title;
    // The change once made, as the undo command names it: "Pfad von „php“ ergänzen".
    QString changeName;
    QList<LineEdit> edits;
    // The file to make executable for its owner; empty for edits of the crontab.
    QString executable;

    friend bool operator==(const Fix&, const Fix&) = default;
};

struct Finding
{
    // Stable, for `check --json` and the ignore comments: "command-not-found".
    QString id;
    Severity severity = Severity::warning;
    // 1-based.
    qsizetype line = 1;
    // The job the line is, where Tempolane reads it as one.
    std::optional<QUuid> jobId;
    // German, naming the concrete cause: the program, the path, the time.
    QString message;
    // The safest first.
    QList<Fix> fixes;
    // The 0-based line above which the comment goes that keeps it from being shown again
    // (Silencing::silencing); nothing for a finding of the whole crontab.
    std::optional<qsizetype> commentLine;

    friend bool operator==(const Finding&, const Finding&) = default;
};

// The text with the edits made; nothing when a line no longer holds what the edit expects.
std::optional<QString> appliedEdits(const QString& text, QList<LineEdit> edits);

} // namespace Tempolane
