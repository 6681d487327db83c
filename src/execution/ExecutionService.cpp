#include "ExecutionService.h"

#include "CanonicalUuid.h"
#include "CronEnvironment.h"
#include "MonitoringCommandLine.h"
#include "PrivateFiles.h"
#include "RunnerScript.h"
#include "ShellQuoting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>
#include <limits>
#include <pwd.h>
#include <qcoro/qcorofuture.h>
#include <thread>
#include <unistd.h>

namespace Tempolane {

namespace {

using Outcome = std::expected<void, ExecutionServiceError>;

const QString monitoringMarkerName = QStringLiteral("monitoring-started");

ExecutionServiceError fileSystemError(const PrivateFiles::Failure& failure)
{
    return ExecutionServiceError::fileSystemFailed(failure.message);
}

// A pipe or device at the name would block the read or never end; a regular file is read
// whole, line by line, as pam_env reads it.
std::unique_ptr<QIODevice> systemFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        return nullptr;
    return file;
}

bool canEnter(const QString& folder)
{
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() && info.isExecutable();
}

CronEnvironment::Account currentAccount()
{
    CronEnvironment::Account account{qEnvironmentVariable("LOGNAME"), QDir::homePath(),
                                     CronEnvironment::defaultShell.toString()};
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    QByteArray buffer(size > 0 ? size : 16384, Qt::Uninitialized);
    struct passwd entry
    {
    };
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), size_t(buffer.size()), &found) == 0 &&
        found) {
        account = {QFile::decodeName(found->pw_name), QFile::decodeName(found->pw_dir),
                   QFile::decodeName(found->pw_shell)};
    }
    return account;
}

// What cron gives the job: its environment, the home folder it names as working directory,
// and the shell it names to run the crontab's command line.
Outcome runAsCron(const QString& commandLine, const QList<EnvironmentAssignment>& assignments)
{
    const CronEnvironment::Account account = currentAccount();
    const auto pam = CronEnvironment::pamVariables(systemFile, account);
    if (!pam)
        return std::unexpected(ExecutionServiceError::cronRunsNothing(pam.error().description()));
    const QProcessEnvironment environment = CronEnvironment::forJob(assignments, *pam, account);
    QProcess process;
    process.setProgram(environment.value(QStringLiteral("SHELL")));
    process.setArguments({QStringLiteral("-c"), commandLine});
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(CronEnvironment::workingDirectory(environment, canEnter));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1))
        return std::unexpected(ExecutionServiceError::launchFailed(process.errorString()));
    process.waitForFinished(-1);
    // The shell's convention for a process ended by a signal.
    const int status =
        process.exitStatus() == QProcess::CrashExit ? 128 + process.exitCode() : process.exitCode();
    if (status != 0)
        return std::unexpected(ExecutionServiceError::commandFailed(status));
    return {};
}

} // namespace

ExecutionService::ExecutionService(QString rootPath, QString runnerPath, Clock clock)
    : m_rootPath(std::move(rootPath)), m_runnerPath(std::move(runnerPath)), m_clock(clock),
      m_reader(clock)
{
    m_pool.setMaxThreadCount(1);
}

ExecutionService::~ExecutionService() = default;

QString ExecutionService::jobDirectory(const QUuid& jobId) const
{
    return m_rootPath + u'/' + canonicalText(jobId);
}

std::expected<void, ExecutionServiceError> ExecutionService::installRunnerNow() const
{
    // Whoever could put a file in these directories could change what cron runs as this user.
    for (const QString& directory : {QFileInfo(m_runnerPath).path(), m_rootPath}) {
        if (auto made = PrivateFiles::makeDirectory(directory); !made)
            return std::unexpected(fileSystemError(made.error()));
    }
    QString script = runnerScriptTemplate();
    script.replace(runnerRootPlaceholder.toString(), quotedPath(m_rootPath));
    if (auto written = PrivateFiles::writeAtomically(m_runnerPath, script.toUtf8(), 0700); !written)
        return std::unexpected(fileSystemError(written.error()));
    return {};
}

QCoro::Task<std::expected<void, ExecutionServiceError>> ExecutionService::installRunner()
{
    auto future = QtConcurrent::run(&m_pool, [this] { return installRunnerNow(); });
    co_return co_await future;
}

// Each future is held in a local before it is awaited: GCC 12 destroys the coroutine's
// parameters twice when a co_await operand is a temporary built from them.
QCoro::Task<> ExecutionService::prepareMonitoring(QList<QUuid> jobIds)
{
    auto future = QtConcurrent::run(&m_pool, [this, jobIds] {
        for (const QUuid& id : jobIds) {
            const QString directory = jobDirectory(id);
            const QString marker = directory + u'/' + monitoringMarkerName;
            if (QFileInfo::exists(marker) || !PrivateFiles::makeDirectory(directory))
                continue;
            const qint64 seconds = m_clock().toSecsSinceEpoch();
            (void)PrivateFiles::writeAtomically(marker, QByteArray::number(seconds));
        }
    });
    co_await future;
}

QCoro::Task<QMap<QUuid, JobExecutionSummary>> ExecutionService::summaries(QList<QUuid> jobIds)
{
    auto future = QtConcurrent::run(&m_pool, [this, jobIds] {
        QMap<QUuid, JobExecutionSummary> result;
        QSet<QString> directories;
        for (const QUuid& id : jobIds) {
            if (result.contains(id))
                continue;
            const QString directory = jobDirectory(id);
            directories.insert(directory);
            result.insert(id, m_reader.summary(directory));
        }
        m_reader.retainOnly(directories);
        return result;
    });
    co_return co_await future;
}

QCoro::Task<QList<JobExecutionRecord>> ExecutionService::history(QUuid jobId)
{
    auto future =
        QtConcurrent::run(&m_pool, [this, jobId] { return m_reader.history(jobDirectory(jobId)); });
    co_return co_await future;
}

QCoro::Task<QList<JobExecutionRecord>> ExecutionService::allRecords(QUuid jobId)
{
    auto future = QtConcurrent::run(&m_pool, [this, jobId] {
        return m_reader.history(jobDirectory(jobId), std::numeric_limits<qsizetype>::max(),
                                ExecutionRecordReader::Output::lastMeaningfulLine);
    });
    co_return co_await future;
}

QCoro::Task<QMap<QUuid, QList<JobExecutionRecord>>>
ExecutionService::runRecords(QList<QUuid> jobIds)
{
    auto future = QtConcurrent::run(&m_pool, [this, jobIds] {
        QMap<QUuid, QList<JobExecutionRecord>> records;
        for (const QUuid& id : jobIds) {
            records.insert(id, m_reader.history(jobDirectory(id),
                                                ExecutionRecordReader::retainedRecords,
                                                ExecutionRecordReader::Output::none));
        }
        return records;
    });
    co_return co_await future;
}

QCoro::Task<std::expected<void, ExecutionServiceError>>
ExecutionService::runNow(CronJob job, QList<EnvironmentAssignment> crontabAssignments)
{
    const auto installed = co_await installRunner();
    if (!installed)
        co_return installed;
    // The crontab's command line, but for a battery keyword that cron would take for itself.
    const QString commandLine = MonitoringCommandLine::wrappedCommand(
        job.id, job.logPolicy, MonitoringCommandLine::executedCommand(job.command),
        quotedPath(m_runnerPath));
    // The run is the user's, not the service's: a thread of its own waits for it, so neither
    // destroying the service nor quitting waits for the command, and the runner works on.
    QPromise<Outcome> promise;
    auto future = promise.future();
    std::thread([promise = std::move(promise), commandLine, crontabAssignments]() mutable {
        promise.start();
        promise.addResult(runAsCron(commandLine, crontabAssignments));
        promise.finish();
    }).detach();
    co_return co_await future;
}

QCoro::Task<> ExecutionService::clearHistory(QUuid jobId)
{
    auto future = QtConcurrent::run(&m_pool, [this, jobId] {
        const QString directory = jobDirectory(jobId);
        const QString runs = directory + QStringLiteral("/runs");
        // Clearing through a link would empty whatever directory it leads to: a linked job
        // directory is left alone, a linked run directory loses only the link.
        if (!runs.startsWith(m_rootPath + u'/') || QFileInfo(directory).isSymLink())
            return;
        if (QFileInfo(runs).isSymLink())
            QFile::remove(runs);
        else
            QDir(runs).removeRecursively();
        QFile::remove(directory + u'/' + monitoringMarkerName);
    });
    co_await future;
}

QCoro::Task<ExecutionService::CacheStatistics> ExecutionService::cacheStatistics()
{
    auto future = QtConcurrent::run(&m_pool, [this] {
        return CacheStatistics{m_reader.cachedBytes(), m_reader.logBytesRead()};
    });
    co_return co_await future;
}

} // namespace Tempolane
