// The terminal companion changing the real crontab of the throwaway user while things go
// wrong: killed at a random moment, with its data directory on a full disk, raced by another
// program replacing the crontab. The crontab always holds one whole text, a replaced text is
// always backed up first, and the backups stay private. The counts are printed; any violation
// fails the test.
#include "CrontabTool.h"
#include "DataLocations.h"
#include "FullFileSystem.h"
#include "ThrowawayUser.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

const QByteArray header = "# Jobs dieses Rechners – bitte nicht löschen\n"
                          "SHELL=/bin/sh\n"
                          "\n"
                          "# Tempolane name: daily-report.sh\n"
                          "# Tempolane id: 0b7e6a52-3f0c-4b8e-9d36-0f2f6f1c2a11\n";
const QByteArray footer = "*/15 * * * * echo \"100\\% done\" >/dev/null 2>&1\n";
const QByteArray active = header + "30 8 * * 1-5 /usr/local/bin/daily-report.sh --quiet\n" + footer;
const QByteArray paused =
    header + "# Tempolane disabled: 30 8 * * 1-5 /usr/local/bin/daily-report.sh --quiet\n" + footer;

const QString saveFailed = QStringLiteral("Cronjob konnte nicht gespeichert werden");
const QString changedOutside = QStringLiteral("außerhalb von Tempolane geändert");
const QString notConfirmed = QStringLiteral("nicht wie gewünscht übernommen");

QString cliPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tempolane-cli");
}

QStringList commandFrom(const QByteArray& old)
{
    return {old == active ? QStringLiteral("pause") : QStringLiteral("resume"),
            QStringLiteral("daily-report.sh")};
}

// A crontab tool that the killed companion started works on as an orphan, adopted by this
// process: wait for it, or the next run would race it.
void reapGroup(pid_t group)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 30000) {
        int status = 0;
        const pid_t reaped = ::waitpid(-group, &status, WNOHANG);
        if (reaped < 0)
            return;
        if (reaped == 0)
            QThread::msleep(2);
    }
}

struct Run
{
    int status = -1;
    bool wasKilled = false;
    QString err;
};

// The companion in a process group of its own, killed after `killAfter` milliseconds unless it
// ended by then; returns once everything it started has ended as well.
Run runCli(const QStringList& arguments, std::optional<int> killAfter = std::nullopt,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess cli;
    cli.setProcessEnvironment(environment);
    cli.setChildProcessModifier([] { ::setpgid(0, 0); });
    cli.start(cliPath(), arguments);
    if (!cli.waitForStarted())
        return {-1, false, cli.errorString()};
    const auto group = pid_t(cli.processId());
    if (killAfter && !cli.waitForFinished(*killAfter))
        ::kill(group, SIGKILL);
    cli.waitForFinished(-1);
    reapGroup(group);
    const bool wasKilled = cli.exitStatus() == QProcess::CrashExit;
    return {wasKilled ? -1 : cli.exitCode(), wasKilled,
            QString::fromUtf8(cli.readAllStandardError())};
}

struct Backups
{
    QByteArray newest;
    // Temporary files of backups whose writing was cut short.
    int leftovers = 0;
    QStringList problems;
};

// What the backup directory holds, and what is wrong with its permissions.
Backups backups()
{
    Backups found;
    const QString directory = DataLocations::forCurrentUser().backups;
    if (!QFileInfo::exists(directory))
        return found;
    if (linkMode(directory) != (S_IFDIR | 0700))
        found.problems.append(QStringLiteral("directory mode %1").arg(linkMode(directory), 0, 8));
    QStringList names =
        QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : std::as_const(names)) {
        const QString path = directory + u'/' + name;
        if (linkMode(path) != (S_IFREG | 0600))
            found.problems.append(QStringLiteral("%1 mode %2").arg(name).arg(linkMode(path), 0, 8));
        found.leftovers += name.startsWith(u'.') ? 1 : 0;
    }
    names.removeIf([](const QString& name) { return name.startsWith(u'.'); });
    std::sort(names.begin(), names.end());
    if (!names.isEmpty()) {
        QFile newest(directory + u'/' + names.back());
        if (newest.open(QIODevice::ReadOnly))
            found.newest = newest.readAll();
    }
    return found;
}

} // namespace

class CliFaultsTest final : public QObject
{
    Q_OBJECT

    QStringList m_violations;
    QRandomGenerator m_random{QRandomGenerator::global()->generate()};
    // How long a run may take before it is killed, or another program replaces the crontab:
    // up to 300 ms, and no longer than an uncut run takes, so every moment of a run is hit.
    int m_longestDelay = 300;

    int randomDelay() { return int(m_random.bounded(m_longestDelay + 1)); }

    void violation(const QString& what)
    {
        if (m_violations.size() < 20)
            std::fprintf(stderr, "violation: %s\n", qPrintable(what));
        m_violations.append(what);
    }
    void report(const QString& counts)
    {
        std::printf("%s; %lld violations\n", qPrintable(counts), qlonglong(m_violations.size()));
        std::fflush(stdout);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Tool processes left by a killed companion become this process's children.
        QVERIFY(::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0);
        QVERIFY2(QFileInfo(cliPath()).isExecutable(), qPrintable(cliPath()));
    }

    void init()
    {
        m_violations.clear();
        QDir(DataLocations::forCurrentUser().backups).removeRecursively();
        crontabTool("-", active);
        QCOMPARE(listedCrontab(), active);
    }

    // Each run's violations were printed as they came; any fails the test.
    void cleanup() { QVERIFY2(m_violations.isEmpty(), qPrintable(m_violations.join(u'\n'))); }

    void cleanupTestCase() { crontabTool("-r"); }

    void completedRuns_pauseAndResume()
    {
        qint64 longest = 0;
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer took;
            took.start();
            const Run pause = runCli(commandFrom(active));
            QCOMPARE(pause.err, QString());
            QCOMPARE(listedCrontab(), paused);
            QCOMPARE(backups().newest, active);
            QCOMPARE(runCli(commandFrom(paused)).status, 0);
            QCOMPARE(listedCrontab(), active);
            QCOMPARE(backups().newest, paused);
            longest = std::max(longest, took.elapsed() / 2);
        }
        m_longestDelay = int(std::min<qint64>(300, longest * 5 / 4));
        std::printf("an uncut run takes up to %lld ms: delays are drawn from 0 to %d ms\n",
                    qlonglong(longest), m_longestDelay);
    }

    void killedRuns_leaveTheOldOrTheNewTextBackedUp()
    {
        int killed = 0;
        int finished = 0;
        int unchanged = 0;
        int changed = 0;
        int leftovers = 0;
        for (int run = 0; run < 200; ++run) {
            const QByteArray old = listedCrontab();
            const QByteArray expected = old == active ? paused : active;
            const Run outcome = runCli(commandFrom(old), randomDelay());
            const QByteArray now = listedCrontab();
            const Backups kept = backups();
            (outcome.wasKilled ? killed : finished) += 1;
            leftovers = kept.leftovers;
            for (const QString& problem : kept.problems)
                violation(QStringLiteral("run %1: backup %2").arg(run).arg(problem));
            if (now == old && !outcome.wasKilled)
                violation(QStringLiteral("run %1 ended (%2) but wrote nothing: %3")
                              .arg(run)
                              .arg(outcome.status)
                              .arg(outcome.err));
            if (now == old) {
                ++unchanged;
            } else if (now == expected) {
                ++changed;
                if (kept.newest != old)
                    violation(QStringLiteral("run %1 replaced a text it did not back up").arg(run));
            } else {
                violation(QStringLiteral("run %1 left neither text: %2").arg(run).arg(now));
                crontabTool("-", active);
            }
        }
        report(QStringLiteral("killed runs: 200 (%1 killed, %2 finished); crontab unchanged "
                              "%3, changed %4; temporary backup files left by kills: %5")
                   .arg(killed)
                   .arg(finished)
                   .arg(unchanged)
                   .arg(changed)
                   .arg(leftovers));
    }

    void fullDataDirectory_refusesAndKeepsTheCrontab()
    {
        const QString full = qEnvironmentVariable("TEMPOLANE_TEST_TMPFS");
        if (full.isEmpty())
            QSKIP("needs a file system to fill: run through scripts/run-as-test-user --tmpfs");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), full);
        QString message;
        int refused = 0;
        for (int run = 0; run < 20; ++run) {
            QDir(full).removeRecursively();
            // No block left where the backup would go, or no inode left for its directory.
            const bool isInodes = run % 2 == 1;
            if (!isInodes)
                QDir().mkpath(DataLocations::under(full).backups);
            Testing::fillFileSystem(full, isInodes);
            const QByteArray old = listedCrontab();
            const Run outcome = runCli(commandFrom(old), std::nullopt, environment);
            if (outcome.status == 1 && outcome.err.startsWith(saveFailed))
                ++refused;
            else
                violation(QStringLiteral("full disk run %1: %2 %3")
                              .arg(run)
                              .arg(outcome.status)
                              .arg(outcome.err));
            if (listedCrontab() != old)
                violation(QStringLiteral("full disk run %1 wrote without a backup").arg(run));
            message = outcome.err.trimmed().replace(u'\n', QStringLiteral(" / "));
        }
        QDir(full).removeRecursively();
        report(QStringLiteral("full data directory: 20 runs, %1 refused (\"%2\")")
                   .arg(refused)
                   .arg(message));
    }

    void concurrentReplacement_isRefusedOrWhole()
    {
        int succeeded = 0;
        int refused = 0;
        int unconfirmed = 0;
        int outsideFirst = 0;
        int outsideLast = 0;
        int lost = 0;
        for (int run = 0; run < 20; ++run) {
            const QByteArray start = run % 2 == 0 ? active : paused;
            const QByteArray expected = run % 2 == 0 ? paused : active;
            crontabTool("-", start);
            const QByteArray mark = "# von außen ersetzt, Lauf " + QByteArray::number(run) + '\n';
            const QByteArray outside = start + mark;

            // Another program replaces the whole crontab at a random moment meanwhile.
            QProcess replacer;
            replacer.start(QStringLiteral("/bin/sh"),
                           {QStringLiteral("-c"), QStringLiteral("sleep \"$1\"; exec crontab -"),
                            QStringLiteral("sh"),
                            QString::number(double(randomDelay()) / 1000, 'f', 3)});
            // Into the pipe now: the tool reads it whenever it starts.
            replacer.write(outside);
            replacer.waitForBytesWritten(-1);
            replacer.closeWriteChannel();
            const Run outcome = runCli(commandFrom(start));
            replacer.waitForFinished(-1);
            const bool replaced =
                replacer.exitStatus() == QProcess::NormalExit && replacer.exitCode() == 0;
            const QByteArray now = listedCrontab();

            const QList<QByteArray> whole{start, expected, outside, expected + mark};
            if (!whole.contains(now))
                violation(QStringLiteral("race %1 left a mixture: %2").arg(run).arg(now));
            if (outcome.status == 0) {
                ++succeeded;
                outsideFirst += now == expected + mark ? 1 : 0;
                outsideLast += now == outside ? 1 : 0;
                // The outside write landed between the check and the write, and was lost.
                lost += replaced && now == expected ? 1 : 0;
            } else if (outcome.status == 1 && outcome.err.contains(changedOutside)) {
                ++refused;
                if (now != outside)
                    violation(
                        QStringLiteral("race %1 refused, yet the outside text is gone").arg(run));
            } else if (outcome.status == 1 && outcome.err.contains(notConfirmed)) {
                // The outside write came right after ours, before it was read back: it holds.
                ++unconfirmed;
                if (now != outside)
                    violation(QStringLiteral("race %1 unconfirmed, yet the outside text is gone")
                                  .arg(run));
            } else {
                violation(QStringLiteral("race %1 ended %2: %3")
                              .arg(run)
                              .arg(outcome.status)
                              .arg(outcome.err));
            }
        }
        report(QStringLiteral("concurrent replacement: 20 runs, %1 succeeded (%2 over the "
                              "outside text read before, %3 replaced by it afterwards), %4 "
                              "refused as changed outside, %5 not confirmed by the read-back; "
                              "outside writes lost between check and write: %6")
                   .arg(succeeded)
                   .arg(outsideFirst)
                   .arg(outsideLast)
                   .arg(refused)
                   .arg(unconfirmed)
                   .arg(lost));
    }
};

int main(int argc, char* argv[])
{
    return Testing::execAsThrowawayUser<CliFaultsTest>(argc, argv);
}

#include "tst_cli_faults.moc"
