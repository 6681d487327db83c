#include "CronBackupStore.h"
#include "CronDocument.h"
#include "CronRepository.h"
#include "CronStore.h"
#include "CronSystemClient.h"
#include "DataLocations.h"
#include "ExecutionService.h"
#include "ShellQuoting.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>
#include <qcoro/qcorotask.h>
#include <sys/stat.h>

using namespace Tempolane;

namespace {

const DataLocations locations = DataLocations::forCurrentUser();

// Variables that may differ between two runs of the same job by their nature, each with why.
// Nothing so far: cron's defaults, PAM's files and the crontab are read alike, and both runs
// start the same shell in the same folder.
const QStringList differingByNature{};

std::unique_ptr<CronStore> storeOnTheRealCrontab(const QString& settingsPath)
{
    return std::make_unique<CronStore>(
        std::make_unique<CronSystemClient>(), std::make_unique<CronBackupStore>(locations.backups),
        std::make_shared<ExecutionService>(locations.executions, locations.runner),
        locations.runner, std::make_unique<QSettings>(settingsPath, QSettings::IniFormat));
}

QString errorOf(const CronStore& store)
{
    return store.presentedError() ? store.presentedError()->message : QString();
}

// cron notices a new crontab by the spool directory's modification time, in whole seconds,
// once a minute; a change within the second of that scan but after it goes unseen.
void waitUntilClearOfCronsMinuteScan()
{
    while (QTime::currentTime().second() < 4 || QTime::currentTime().second() > 56)
        QTest::qWait(500);
}

QStringList outputFiles(const QString& directory)
{
    return QDir(directory).entryList({QStringLiteral("env.*")}, QDir::Files, QDir::Name);
}

QMap<QString, QString> environmentIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QMap<QString, QString> variables;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        // The last line is the working directory.
        if (equals < 0)
            variables.insert(QStringLiteral("(working directory)"), line);
        else
            variables.insert(line.first(equals), line.sliced(equals + 1));
    }
    for (const QString& name : differingByNature)
        variables.remove(name);
    return variables;
}

QString difference(const QMap<QString, QString>& cron, const QMap<QString, QString>& runNow)
{
    QStringList lines;
    QStringList names = cron.keys() + runNow.keys();
    names.removeDuplicates();
    names.sort();
    for (const QString& name : names) {
        if (cron.value(name, QStringLiteral("(unset)")) !=
            runNow.value(name, QStringLiteral("(unset)")))
            lines << QStringLiteral("%1: cron %2, run now %3")
                         .arg(name, cron.value(name, QStringLiteral("(unset)")),
                              runNow.value(name, QStringLiteral("(unset)")));
    }
    return lines.join(u'\n');
}

// Everything under the data folder is its owner's alone: 0700 folders, 0600 files, and the
// runner, which cron executes, 0700.
QStringList notPrivate(const QString& dataFolder)
{
    QStringList found;
    QDirIterator it(dataFolder,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat status
        {
        };
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
            continue;
        const mode_t mode = status.st_mode & 07777;
        const mode_t expected = S_ISDIR(status.st_mode) || path == locations.runner ? 0700 : 0600;
        if (mode != expected)
            found << QStringLiteral("%1 %2").arg(mode, 4, 8, QChar(u'0')).arg(path);
    }
    return found;
}

} // namespace

class CronEnvironmentSystemTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runNowGetsTheEnvironmentCronGives();
};

void CronEnvironmentSystemTest::runNowGetsTheEnvironmentCronGives()
{
    QTemporaryDir output;
    QVERIFY(output.isValid());
    // Writable by the job, which runs as this user; the runs tell themselves apart by the
    // shell's process id.
    const QString command =
        QStringLiteral("{ env | sort; pwd; } > %1/env.$$").arg(quotedPath(output.path()));
    CronJob job;
    job.id = QUuid::createUuid();
    job.name = QStringLiteral("Umgebung");
    job.scheduleExpression = QStringLiteral("* * * * *");
    job.command = command;
    job.isMonitoringEnabled = true;

    // Assignments of the forms cron reads differently from a shell, one that a later line
    // overrides, cron's own PATH overridden, and one below the job that must not reach it.
    CronDocument document;
    for (const char* line : {"# written by the test", "MYVAR=first", "MYVAR = from crontab  ",
                             "QUOTED=\"two  words\"", "PATH=/usr/local/bin:/usr/bin:/bin"})
        document.nodes.append(CronDocument::Node::passthrough(QString::fromUtf8(line)));
    document.nodes.append(CronDocument::Node::job(job));
    document.nodes.append(CronDocument::Node::passthrough(QStringLiteral("BELOW=not for the job")));
    document.hasTrailingNewline = true;

    QTemporaryDir settings;
    auto store = storeOnTheRealCrontab(settings.filePath(QStringLiteral("settings.ini")));
    QCoro::waitFor(store->load());
    QVERIFY2(!store->presentedError(), qPrintable(errorOf(*store)));

    waitUntilClearOfCronsMinuteScan();
    {
        CronRepository repository(std::make_unique<CronSystemClient>(),
                                  std::make_unique<CronBackupStore>(locations.backups));
        const auto saved = QCoro::waitFor(
            repository.save(document.serializedText(locations.runner), store->loadedContents()));
        QVERIFY2(saved, qPrintable(saved ? QString() : saved.error().description()));
    }
    QCoro::waitFor(store->load());
    const CronJob loaded = store->document().jobs().value(0);
    QCOMPARE(loaded.id, job.id);
    QVERIFY(loaded.isMonitoringEnabled);

    // As the window does it: through the store, well before cron's next minute.
    QCoro::waitFor(store->runJobNow(loaded));
    QVERIFY2(!store->presentedError(), qPrintable(errorOf(*store)));
    const QStringList afterRunNow = outputFiles(output.path());
    QCOMPARE(afterRunNow.size(), 1);

    QElapsedTimer timer;
    timer.start();
    while (outputFiles(output.path()).size() < 2 && timer.elapsed() < 75000)
        QTest::qWait(1000);
    QStringList cronRuns = outputFiles(output.path());
    cronRuns.removeAll(afterRunNow.front());
    QVERIFY2(!cronRuns.isEmpty(), "cron did not run the job within 75 s");

    const auto fromRunNow = environmentIn(output.filePath(afterRunNow.front()));
    const auto fromCron = environmentIn(output.filePath(cronRuns.front()));
    QCOMPARE(fromCron.value(QStringLiteral("MYVAR")), QStringLiteral("from crontab"));
    QVERIFY(!fromCron.contains(QStringLiteral("BELOW")));
    QVERIFY2(fromRunNow == fromCron, qPrintable(difference(fromCron, fromRunNow)));

    const QStringList open =
        notPrivate(QDir::cleanPath(QFileInfo(locations.runner).path() + QStringLiteral("/..")));
    QVERIFY2(open.isEmpty(), qPrintable(open.join(u'\n')));
}

QTEST_GUILESS_MAIN(CronEnvironmentSystemTest)
#include "tst_cron_environment.moc"
