#pragma once

#include "Finding.h"

#include <QSet>
#include <QStringList>

// Comments that silence findings the author knows better about, as linters allow:
// "# tempolane: ignore ID[,ID…]" directly above a line, "# tempolane: ignore-file ID[,ID…]"
// anywhere for the whole crontab. cron reads them as the comments they are.
namespace Tempolane::Silencing {

QSet<QString> silencedEverywhere(const QStringList& lines);
// The ids silenced by the comments directly above the line with this (0-based) index.
QSet<QString> silencedAbove(const QStringList& lines, qsizetype index);

// The comment that silences `id` above the line with this index, added to one that stands
// there already; for the whole crontab where `index` is nothing.
Fix silencing(const QStringList& lines, std::optional<qsizetype> index, const QString& id);

} // namespace Tempolane::Silencing
