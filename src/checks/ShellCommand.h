#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Tempolane {

// One word of a command line as /bin/sh reads it.
struct ShellWord
{
    // Where it starts in the text read.
    qsizetype start = 0;
    QString text;
    // Quotes and backslashes removed; meaningful only without an expansion.
    QString value;
    // "$…", "${…}", "$(…)" or "`…`" somewhere in the word.
    bool hasExpansion = false;
    // Unquoted "*", "?" or "[".
    bool hasGlob = false;
    // An unquoted "{a,b}" or "{1..3}", which only bash expands.
    bool hasBraceList = false;
    // An unquoted "~" first, which the shell turns into the home folder.
    bool startsWithTilde = false;
    bool isQuoted = false;

    // NAME=value before the command word.
    bool isAssignment() const;
};

struct ShellRedirection
{
    // The file descriptor it names, or -1 for both standard output and error ("&>").
    int descriptor = 1;
    // ">", ">>", "<", ">&", "<<", "<<<", "&>" …
    QString operation;
    ShellWord target;
};

// The words between two of ";", "&&", "||", "|", "&" at the top level of a command line.
struct SimpleCommand
{
    QList<ShellWord> assignments;
    // The command word first; empty for a command of assignments or redirections alone.
    QList<ShellWord> words;
    QList<ShellRedirection> redirections;
    // The operator that ends it; empty at the end of the line.
    QString separator;
    // It opens or belongs to an if, while, for, case, function or subshell: what follows may
    // run or not, and its later words are not all commands.
    bool isInConstruct = false;
};

// A command line as /bin/sh reads it, as far as the checks need: its simple commands at the
// top level, and the constructs that only bash knows.
struct ShellCommand
{
    QList<SimpleCommand> commands;
    // "[[", "&>", "source", "{a,b}", "<<<", "function", in the order they are met, once each.
    QStringList bashOnly;
    // No quote, "$(", "${" or "`" is left open at the end.
    bool isComplete = true;

    static ShellCommand read(QStringView text);
};

// What cron hands to the shell: the command up to its first unescaped "%", with "\%" read as
// "%"; and what follows that "%" goes to the command's standard input.
struct CronCommandText
{
    QString shellText;
    // Where the first unescaped "%" stands in the command; -1 without one.
    qsizetype cut = -1;

    static CronCommandText of(QStringView command);
    // Where a character of `shellText` stands in the command.
    qsizetype commandPosition(qsizetype shellPosition) const;

private:
    // Where cron dropped the backslash of a "\%", in `shellText`.
    QList<qsizetype> m_droppedBefore;
};

} // namespace Tempolane
