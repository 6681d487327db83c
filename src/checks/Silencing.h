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

// The comment that silences the finding ("Nicht mehr anzeigen") in the crontab `lines` it was
// made for, added to one that stands above its line already.
Fix silencing(const QStringList& lines, const Finding& finding);

} // namespace Tempolane::Silencing
