// backups, diff and restore: the kept copies of replaced crontabs, compared with the current
// crontab, and restoring one through the store's commit.
#include "CliCommand.h"
#include "CliInput.h"
#include "CronStore.h"
#include "LineDiff.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <QCoro/QCoroTask>

TEMPOLANE_TEXT_CONTEXT(Cli)

namespace Tempolane::Cli {

namespace {

// Terminal colours of a unified diff.
namespace Colour {
constexpr auto heading = "\x1b[1m";
constexpr auto hunk = "\x1b[36m";
constexpr auto removed = "\x1b[31m";
constexpr auto added = "\x1b[32m";
constexpr auto reset = "\x1b[0m";
} // namespace Colour

void printLine(QTextStream& out, const char* colour, const QString& text, bool isColoured)
{
    if (isColoured)
        out << colour << text << Colour::reset << u'\n';
    else
        out << text << u'\n';
}

void printUnifiedDiff(QTextStream& out, const LineDiff& diff, const QString& fromLabel,
                      const QString& toLabel, bool isColoured)
{
    printLine(out, Colour::heading, QStringLiteral("--- ") + fromLabel, isColoured);
    printLine(out, Colour::heading, QStringLiteral("+++ ") + toLabel, isColoured);
    for (const DiffHunk& hunk : diff.hunks()) {
        printLine(out, Colour::hunk, hunk.header(), isColoured);
        for (const DiffLine& line : hunk.lines) {
            const QString text = printable(line.text, CrontabText::Tabs::kept);
            switch (line.kind) {
            case DiffLine::Kind::unchanged:
                out << u' ' << text << u'\n';
                break;
            case DiffLine::Kind::removed:
                printLine(out, Colour::removed, u'-' + text, isColoured);
                break;
            case DiffLine::Kind::added:
                printLine(out, Colour::added, u'+' + text, isColoured);
                break;
            }
            if (!line.endsWithLineFeed)
                out << tr("\\ Kein Zeilenumbruch am Dateiende") << u'\n';
        }
    }
    out.flush();
}

QString changeCounts(const LineDiff& diff)
{
    return QStringLiteral("+%1 \u2212%2").arg(diff.addedCount()).arg(diff.removedCount());
}

struct Listing
{
    // Numbered from 1 in this order.
    QList<CronBackup> backups;
    QList<CronBackup> skipped;
};

std::expected<Listing, int> backupsOf(CronStore& store, QTextStream& err)
{
    auto backups = QCoro::waitFor(store.backups());
    if (!backups) {
        err << tr("Sicherungen konnten nicht gelesen werden") << u'\n'
            << backups.error().description() << Qt::endl;
        return std::unexpected(int(failure));
    }
    Listing listing;
    for (CronBackup& backup : *backups)
        (backup.isSkipped() ? listing.skipped : listing.backups).append(std::move(backup));
    return listing;
}

// By its number in the listing, from 1, or by its file name; only a usable backup.
std::expected<CronBackup, int> findBackup(CronStore& store, const QString& argument,
                                          QTextStream& err)
{
    const auto listing = backupsOf(store, err);
    if (!listing)
        return std::unexpected(listing.error());
    bool isNumber = false;
    const qsizetype number = argument.toLongLong(&isNumber);
    std::optional<CronBackup> found;
    for (qsizetype i = 0; i < listing->backups.size() && !found; ++i) {
        if ((isNumber && number == i + 1) || listing->backups.at(i).fileName == argument)
            found = listing->backups.at(i);
    }
    for (const CronBackup& backup : listing->skipped) {
        if (!found && backup.fileName == argument)
            found = backup;
    }
    if (!found) {
        err << tr("Keine Sicherung „%1“; tempolane-cli backups zeigt die vorhandenen.")
                   .arg(printable(argument))
            << Qt::endl;
        return std::unexpected(int(usageError));
    }
    if (!found->isUsable()) {
        err << tr("„%1“ kann nicht verwendet werden: %2.")
                   .arg(printable(found->fileName), printable(found->flawDescription()))
            << Qt::endl;
        return std::unexpected(int(failure));
    }
    return *found;
}

QString jobsText(const CronStore& store, const QString& text)
{
    const auto count = CronDocument::parse(text, store.runnerPath()).jobs().size();
    return tr.plural("=0 {Keine Jobs} one {# Job} other {# Jobs}", count);
}

} // namespace

int listBackups(CronStore& store, Streams streams)
{
    const auto listing = backupsOf(store, streams.err);
    if (!listing)
        return listing.error();
    for (qsizetype i = 0; i < listing->backups.size(); ++i) {
        const CronBackup& backup = listing->backups.at(i);
        streams.out << i + 1 << u'\t' << localTime(backup.takenAt) << u'\t' << backup.size
                    << " B\t";
        if (backup.isUsable())
            streams.out << jobsText(store, backup.text) << u'\t'
                        << changeCounts(LineDiff::between(store.loadedContents(), backup.text));
        else
            streams.out << tr("unbrauchbar: %1").arg(printable(backup.flawDescription()))
                        << QStringLiteral("\t\u2013");
        streams.out << u'\t' << printable(backup.fileName) << u'\n';
    }
    streams.out.flush();
    if (!listing->skipped.isEmpty()) {
        QStringList named;
        for (const CronBackup& backup : listing->skipped)
            named.append(QStringLiteral("„%1“ (%2)")
                             .arg(printable(backup.fileName), printable(backup.flawDescription())));
        streams.err << tr("Übersprungen: %1").arg(named.join(QStringLiteral(", "))) << Qt::endl;
    }
    return success;
}

int showBackupDiff(CronStore& store, const QString& argument, Streams streams,
                   const Terminal& terminal)
{
    const auto backup = findBackup(store, argument, streams.err);
    if (!backup)
        return backup.error();
    const LineDiff diff = LineDiff::between(store.loadedContents(), backup->text);
    if (!diff.hasChanges()) {
        streams.err << tr("Die Sicherung entspricht der aktuellen crontab.") << Qt::endl;
        return success;
    }
    printUnifiedDiff(streams.out, diff, QStringLiteral("crontab"), printable(backup->fileName),
                     terminal.showsColours);
    return success;
}

int restoreBackup(CronStore& store, const QString& argument, Streams streams,
                  const Terminal& terminal)
{
    const auto backup = findBackup(store, argument, streams.err);
    if (!backup)
        return backup.error();
    const QString previous = store.loadedContents();
    // Writing the same text again would only push an older backup out.
    if (backup->text == previous) {
        streams.out << tr("Die crontab entspricht bereits dieser Sicherung.") << Qt::endl;
        return success;
    }
    if (!QCoro::waitFor(store.restoreBackup(backup->text)))
        return printedFailure(store, streams.err);
    const LineDiff diff = LineDiff::between(previous, backup->text);
    printUnifiedDiff(streams.out, diff, QStringLiteral("crontab"), printable(backup->fileName),
                     terminal.showsColours);
    streams.out << tr("Wiederhergestellt aus „%1“ (%2 Zeilen). Die vorherige crontab ist "
                      "gesichert: „tempolane-cli restore 1“ holt sie zurück.")
                       .arg(printable(backup->fileName), changeCounts(diff))
                << Qt::endl;
    return success;
}

int backups(const QStringList& arguments, Streams streams)
{
    if (!arguments.isEmpty()) {
        streams.err << "usage: tempolane-cli backups" << Qt::endl;
        return usageError;
    }
    return withLoadedStore(streams, false,
                           [&](CronStore& store) { return listBackups(store, streams); });
}

int diff(const QStringList& arguments, Streams streams)
{
    return withLoadedStoreOn(
        "usage: tempolane-cli diff BACKUP", arguments, streams,
        [&](CronStore& store, const QString& backup, const Terminal& terminal) {
            return showBackupDiff(store, backup, streams, terminal);
        });
}

int restore(const QStringList& arguments, Streams streams)
{
    return withLoadedStoreOn(
        "usage: tempolane-cli restore BACKUP", arguments, streams,
        [&](CronStore& store, const QString& backup, const Terminal& terminal) {
            return restoreBackup(store, backup, streams, terminal);
        });
}

} // namespace Tempolane::Cli
