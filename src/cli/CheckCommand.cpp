#include "CanonicalUuid.h"
#include "CliCommand.h"
#include "CliInput.h"
#include "CronBackupStore.h"
#include "CronRepository.h"
#include "CronSystemClient.h"
#include "CrontabChecker.h"
#include "DataLocations.h"
#include "DemoCronClient.h"
#include "LocalFileView.h"
#include "LocalMachine.h"
#include "Utf8.h"

#include <QCoreApplication>
#include <QCoro/QCoroTask>

namespace Tempolane::Cli {

namespace {

// 2 already means errors in the crontab here, as linters count.
enum CheckExit
{
    clean = 0,
    warnings = 1,
    errors = 2,
    unusableInput = 3,
    badArguments = 4
};

// Larger than any crontab a person keeps; the crontab tool itself takes far less.
constexpr qsizetype largestFile = 8 * 1024 * 1024;

std::expected<QString, QString> fileText(const QString& path)
{
    const LocalFileView files;
    const FileStatus status = files.status(path);
    if (status.kind == FileStatus::Kind::missing)
        return std::unexpected(
            QCoreApplication::translate("Cli", "%1: Datei nicht gefunden.").arg(path));
    if (status.kind == FileStatus::Kind::directory)
        return std::unexpected(
            QCoreApplication::translate("Cli", "%1: ist ein Ordner, keine Datei.").arg(path));
    const auto bytes = files.head(path, largestFile + 1);
    if (!bytes)
        return std::unexpected(
            QCoreApplication::translate("Cli", "%1: kann nicht gelesen werden.").arg(path));
    if (bytes->size() > largestFile)
        return std::unexpected(
            QCoreApplication::translate("Cli", "%1: ist zu groß für eine Crontab.").arg(path));
    auto text = Utf8::decode(*bytes);
    if (!text)
        return std::unexpected(
            QCoreApplication::translate("Cli", "%1: ist kein gültiges UTF-8.").arg(path));
    return *text;
}

std::expected<QString, QString> installedText(const DataLocations& locations)
{
    CronRepository repository(std::make_unique<CronSystemClient>(),
                              std::make_unique<CronBackupStore>(locations.backups));
    const auto text = QCoro::waitFor(repository.load());
    if (!text)
        return std::unexpected(text.error().description());
    return *text;
}

// What a fix would do, for a reader of the terminal: its name, and the line it writes where
// it writes one.
QString fixText(const Fix& fix)
{
    if (!fix.executable.isEmpty())
        return fix.changeName + QStringLiteral(": chmod u+x ") + fix.executable;
    if (fix.edits.size() == 1 && fix.edits.front().replacement.size() == 1)
        return fix.changeName + QStringLiteral(": ") + fix.edits.front().replacement.front();
    return fix.changeName;
}

QString findingJson(const Finding& finding)
{
    return QStringLiteral("{\"line\":%1,\"id\":%2,\"severity\":%3,\"job\":%4,\"message\":%5,"
                          "\"fix\":%6}")
        .arg(finding.line)
        .arg(jsonString(finding.id), jsonString(rawValue(finding.severity)),
             finding.jobId ? jsonString(canonicalText(*finding.jobId)) : QStringLiteral("null"),
             jsonString(finding.message),
             finding.fixes.isEmpty() ? QStringLiteral("null")
                                     : jsonString(fixText(finding.fixes.front())));
}

} // namespace

int check(const QStringList& arguments, Streams streams)
{
    QString path;
    bool isDemo = false;
    bool isJson = false;
    bool isWellFormed = true;
    for (const QString& argument : arguments) {
        if (argument == u"--demo")
            isDemo = true;
        else if (argument == u"--json")
            isJson = true;
        else if (argument.startsWith(u"--") || !path.isEmpty())
            isWellFormed = false;
        else
            path = argument;
    }
    if (!isWellFormed || (isDemo && !path.isEmpty())) {
        streams.err << "usage: tempolane-cli check [FILE] [--demo] [--json]" << Qt::endl;
        return badArguments;
    }

    const DataLocations locations = DataLocations::forCurrentUser();
    const auto text = !path.isEmpty() ? fileText(path)
                      : isDemo        ? DemoCronClient::sampleText()
                                      : installedText(locations);
    if (!text) {
        streams.err << text.error() << Qt::endl;
        return unusableInput;
    }
    const CrontabChecker checker(LocalMachine::current(locations.executions));
    const QList<Finding> findings = checker.check(
        *text, path.isEmpty() ? CrontabSource::installed : CrontabSource::file, locations.runner);

    const QString shownName = path.isEmpty() ? QStringLiteral("crontab") : path;
    int exit = clean;
    for (const Finding& finding : findings) {
        if (isJson)
            streams.out << findingJson(finding) << u'\n';
        else
            streams.out << QStringLiteral("%1:%2: %3: %4 [%5]\n")
                               .arg(printable(shownName))
                               .arg(finding.line)
                               .arg(rawValue(finding.severity), printable(finding.message),
                                    finding.id);
        if (finding.severity == Severity::error)
            exit = errors;
        else if (finding.severity == Severity::warning && exit == clean)
            exit = warnings;
    }
    return exit;
}

} // namespace Tempolane::Cli
