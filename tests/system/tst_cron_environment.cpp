#include "CronBackupStore.h"
#include "CronDocument.h"
#include "CronStore.h"
#include "CronSystemClient.h"
#include "DataLocations.h"
#include "ExecutionService.h"
#include "ShellQuoting.h"
#include "TestFiles.h"
#include "TestUserCrontab.h"

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

QStringList outputFiles(const QString& directory, const QString& pattern)
{
    return QDir(directory).entryList({pattern}, QDir::Files, QDir::Name);
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

// What the files pam_env reads hold for one row; the system's own where empty.
struct SystemFiles
{
    QByteArray settings;
    QByteArray environment;
    QByteArray locale;
};

// The files pam_env reads for cron, in the private copies the test may change; nothing where the
// test runs without them.
QString privateEtc()
{
    return qEnvironmentVariable("TEMPOLANE_TEST_ETC");
}

} // namespace

Q_DECLARE_METATYPE(SystemFiles)

class CronEnvironmentSystemTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (privateEtc().isEmpty())
            QSKIP("needs the private cron daemon and files of scripts/run-as-test-user "
                  "--private-cron");
        for (const QString& name : QDir(privateEtc()).entryList(QDir::Files)) {
            QFile file(QDir(privateEtc()).filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            m_originals.insert(file.fileName(), file.readAll());
        }
    }

    // The files are rewritten in place: each copy is mounted over the system's file.
    void cleanup()
    {
        for (auto original = m_originals.cbegin(); original != m_originals.cend(); ++original)
            QVERIFY(Testing::writeFile(original.key(), original.value()));
    }

    void runNowFollowsCron_data()
    {
        QTest::addColumn<SystemFiles>("files");
        // Crontab lines; each "{job}" is a job that notes its environment.
        QTest::addColumn<QStringList>("crontab");
        // Empty where each job must get from "run now" what it gets from cron; else what run now
        // says instead of running it, while cron runs nothing.
        QTest::addColumn<QString>("refusal");

        // pam_env's settings as the daemon was seen to read them: lines it ignores, values it
        // defines empty, its expansion; an environment file and a locale read whole.
        SystemFiles details;
        details.settings =
            "T1 DEFAULT=trailing \n  T2 DEFAULT=leading\nT3 DEFAULT=value # comment\n"
            "T4 DEFAULT=\"quoted\"after\nT5 DEFAULT=\"\"\nT6 DEFAULT=${UNSET}\n"
            "T7 DEFAULT=${T8}\nT8 DEFAULT=${T7}\nT9 DEFAULT=x OVERRIDE=\"\"\n"
            "T10 OVERRIDE=${UNSET}\nT13 DEFAULT=\"a b\"\nT14 DEFAULT=@{HOME}/x\n"
            "T16 DEFAULT=@{PAM_USER}@{PAM_TTY}\nT18 DEFAULT=\\$x\nT20 DEFAULT=con\\\n"
            "tinued\nT27 DEFAULT=x\\y\nT28 DEFAULT=${T5}e\n";
        for (int i = 0; i < 10000; ++i)
            details.environment += QByteArray("V%1=value\n").replace("%1", QByteArray::number(i));
        details.locale = QByteArray(QByteArray("# ") + QByteArray(98, 'c') + '\n').repeated(20000) +
                         "AFTER_COMMENTS=yes\n";
        // Forms cron reads differently from a shell, one that a later line overrides, cron's own
        // PATH overridden, assignments cron cuts to 998 bytes, homes cron cannot enter, and one
        // below the jobs that must not reach them.
        QTest::newRow("pam_env's settings, whole files, long assignments and odd homes")
            << details
            << QStringList{QStringLiteral("# written by the test"),
                           QStringLiteral("MYVAR=first"),
                           QStringLiteral("MYVAR = from crontab  "),
                           QStringLiteral("QUOTED=\"two  words\""),
                           QStringLiteral("PATH=/usr/local/bin:/usr/bin:/bin"),
                           QStringLiteral("   LONG = ") + QString(2000, u'l'),
                           QStringLiteral("BIG=") + QString(200000, u'b'),
                           QStringLiteral("{job}"),
                           QStringLiteral("HOME=/etc/hostname"),
                           QStringLiteral("{job}"),
                           QStringLiteral("HOME=/nonexistent-home"),
                           QStringLiteral("{job}"),
                           QStringLiteral("BELOW=not for the jobs")}
            << QString();
        QTest::newRow("an unterminated reference in pam_env's settings")
            << SystemFiles{"GOOD DEFAULT=yes\nBAD DEFAULT=${OPEN\n", {}, {}}
            << QStringList{QStringLiteral("{job}")}
            << QStringLiteral("/etc/security/pam_env.conf, Zeile 2, „${OPEN“ nicht mit „}“ "
                              "geschlossen ist.");
        QTest::newRow("a value that pam_env expands past 8191 bytes")
            << SystemFiles{"A DEFAULT=" + QByteArray(5000, 'a') + "\nB DEFAULT=${A}${A}\n", {}, {}}
            << QStringList{QStringLiteral("{job}")}
            << QStringLiteral("/etc/security/pam_env.conf, Zeile 2, der Wert von B länger als 8191 "
                              "Bytes wird.");
    }

    void runNowFollowsCron()
    {
        QFETCH(SystemFiles, files);
        QFETCH(QStringList, crontab);
        QFETCH(QString, refusal);
        const QDir etc(privateEtc());
        for (const auto& [name, bytes] :
             {std::pair(QStringLiteral("pam_env.conf"), files.settings),
              std::pair(QStringLiteral("environment"), files.environment),
              std::pair(QStringLiteral("locale"), files.locale)}) {
            if (!bytes.isEmpty())
                QVERIFY2(Testing::writeFile(etc.filePath(name), bytes), qPrintable(name));
        }

        QTemporaryDir output;
        QVERIFY(output.isValid());
        QList<CronDocument::Node> nodes;
        QList<CronJob> jobs;
        for (const QString& line : std::as_const(crontab)) {
            if (line != u"{job}") {
                nodes.append(CronDocument::Node::passthrough(line));
                continue;
            }
            // Writable by the job, which runs as this user; the runs tell themselves apart by the
            // shell's process id.
            const CronJob job =
                Testing::everyMinuteJob(QStringLiteral("Umgebung %1").arg(jobs.size() + 1),
                                        QStringLiteral("{ env | sort; pwd; } > %1/env.%2.$$")
                                            .arg(quotedPath(output.path()))
                                            .arg(jobs.size()));
            jobs.append(job);
            nodes.append(CronDocument::Node::job(job));
        }

        QTemporaryDir settings;
        auto store = storeOnTheRealCrontab(settings.filePath(QStringLiteral("settings.ini")));
        QCoro::waitFor(store->load());
        QVERIFY2(!store->presentedError(), qPrintable(errorOf(*store)));

        Testing::waitUntilClearOfCronsMinuteScan();
        const auto refused = Testing::installCrontab(Testing::crontabText(nodes));
        QVERIFY2(!refused, qPrintable(refused.value_or(QString())));
        const QTime savedAt = QTime::currentTime();
        QCoro::waitFor(store->load());
        QCOMPARE(store->document().jobs().size(), jobs.size());

        // As the window does it: through the store, well before cron's next minute.
        QStringList runNow;
        for (qsizetype i = 0; i < jobs.size(); ++i) {
            const CronJob loaded = store->document().jobs().value(i);
            QCOMPARE(loaded.id, jobs[i].id);
            QCoro::waitFor(store->runJobNow(loaded));
            const QStringList written =
                outputFiles(output.path(), QStringLiteral("env.%1.*").arg(i));
            if (!refusal.isEmpty()) {
                QVERIFY(written.isEmpty());
                QVERIFY2(errorOf(*store).endsWith(refusal), qPrintable(errorOf(*store)));
                continue;
            }
            QVERIFY2(!store->presentedError(), qPrintable(errorOf(*store)));
            QCOMPARE(written.size(), 1);
            runNow.append(written.front());
        }

        if (!refusal.isEmpty()) {
            // cron's next minute and then some: it runs nothing either.
            while (savedAt.secsTo(QTime::currentTime()) < 75)
                QTest::qWait(1000);
            QCOMPARE(outputFiles(output.path(), QStringLiteral("env.*")), QStringList());
            return;
        }
        for (qsizetype i = 0; i < jobs.size(); ++i) {
            const QString pattern = QStringLiteral("env.%1.*").arg(i);
            QElapsedTimer timer;
            timer.start();
            while (outputFiles(output.path(), pattern).size() < 2 && timer.elapsed() < 75000)
                QTest::qWait(1000);
            QStringList cronRuns = outputFiles(output.path(), pattern);
            cronRuns.removeAll(runNow[i]);
            QVERIFY2(!cronRuns.isEmpty(), "cron did not run the job within 75 s");
            const auto fromRunNow = environmentIn(output.filePath(runNow[i]));
            const auto fromCron = environmentIn(output.filePath(cronRuns.front()));
            QVERIFY(!fromCron.contains(QStringLiteral("BELOW")));
            QVERIFY2(fromRunNow == fromCron, qPrintable(difference(fromCron, fromRunNow)));
        }

        const QStringList open =
            notPrivate(QDir::cleanPath(QFileInfo(locations.runner).path() + QStringLiteral("/..")));
        QVERIFY2(open.isEmpty(), qPrintable(open.join(u'\n')));
    }

private:
    QMap<QString, QByteArray> m_originals;
};

QTEST_GUILESS_MAIN(CronEnvironmentSystemTest)
#include "tst_cron_environment.moc"
