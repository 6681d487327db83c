#include "ExecutionService.h"

#include "CanonicalUuid.h"
#include "RunnerScript.h"
#include "ShellQuoting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPromise>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>
#include <cerrno>
#include <qcoro/qcorofuture.h>
#include <sys/stat.h>
#include <thread>

namespace Tempolane {

namespace {

using Outcome = std::expected<void, ExecutionServiceError>;

const QString monitoringMarkerName = QStringLiteral("monitoring-started");

// Creates the directory and its missing parents; only the ones created here get mode 700,
// because existing directories belong to the user's own arrangement.
std::expected<void, QString> makePrivateDirectories(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    qsizetype next = clean.startsWith(u'/') ? 1 : 0;
    while (next <= clean.size()) {
        qsizetype slash = clean.indexOf(u'/', next);
        if (slash < 0)
            slash = clean.size();
        const QByteArray prefix = QFile::encodeName(clean.first(slash));
        next = slash + 1;
        if (prefix.isEmpty())
            continue;
        if (::mkdir(prefix.constData(), 0700) == 0) {
            ::chmod(prefix.constData(), 0700);
            continue;
        }
        const int error = errno;
        struct stat info
        {
        };
        if (error == EEXIST && ::stat(prefix.constData(), &info) == 0 && S_ISDIR(info.st_mode))
            continue;
        return std::unexpected(qt_error_string(error == EEXIST ? ENOTDIR : error));
    }
    return {};
}

// The permissions are set before the file takes its name, so nobody ever runs or reads it
// with the defaults.
std::expected<void, QString> writeAtomically(const QString& path, const QByteArray& bytes,
                                             std::optional<QFile::Permissions> permissions = {})
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || (permissions && !file.setPermissions(*permissions)) ||
        file.write(bytes) != bytes.size() || !file.commit())
        return std::unexpected(file.errorString());
    return {};
}

Outcome runRunner(const QString& runnerPath, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(runnerPath);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
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

ExecutionService::ExecutionService(std::optional<QString> baseDirectory,
                                   std::optional<QString> runnerPath, Clock clock)
    : m_rootPath((baseDirectory
                      ? *baseDirectory
                      : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                            QStringLiteral("/Tempolane")) +
                 QStringLiteral("/Executions")),
      m_runnerPath(runnerPath ? *runnerPath : defaultRunnerURL()), m_clock(clock), m_reader(clock)
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
    if (auto made = makePrivateDirectories(QFileInfo(m_runnerPath).path()); !made)
        return std::unexpected(ExecutionServiceError::fileSystemFailed(made.error()));
    QString script = runnerScriptTemplate();
    script.replace(runnerRootPlaceholder.toString(), quotedPath(m_rootPath));
    if (auto written = writeAtomically(m_runnerPath, script.toUtf8(),
                                       QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        !written)
        return std::unexpected(ExecutionServiceError::fileSystemFailed(written.error()));
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
            if (QFileInfo::exists(marker) || !makePrivateDirectories(directory))
                continue;
            const qint64 seconds = m_clock().toSecsSinceEpoch();
            (void)writeAtomically(marker, QByteArray::number(seconds));
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

QCoro::Task<std::expected<void, ExecutionServiceError>> ExecutionService::runNow(CronJob job)
{
    const auto installed = co_await installRunner();
    if (!installed)
        co_return installed;
    const bool hasPrefix = job.command.startsWith(MonitoringCommandLine::batteryPrefix);
    const QString command =
        hasPrefix ? job.command.sliced(MonitoringCommandLine::batteryPrefix.size()) : job.command;
    const QStringList arguments =
        MonitoringCommandLine::runnerArguments(job.id, job.logPolicy, command);
    // The run is the user's, not the service's: a thread of its own waits for it, so neither
    // destroying the service nor quitting waits for the command, and the runner works on.
    QPromise<Outcome> promise;
    auto future = promise.future();
    std::thread([promise = std::move(promise), runner = m_runnerPath, arguments]() mutable {
        promise.start();
        promise.addResult(runRunner(runner, arguments));
        promise.finish();
    }).detach();
    co_return co_await future;
}

QCoro::Task<> ExecutionService::clearHistory(QUuid jobId)
{
    auto future = QtConcurrent::run(&m_pool, [this, jobId] {
        const QString directory = jobDirectory(jobId);
        const QString runs = directory + QStringLiteral("/runs");
        if (!runs.startsWith(m_rootPath + u'/'))
            return;
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

QString ExecutionService::wrappedCommand(const CronJob& job)
{
    return MonitoringCommandLine::wrappedCommand(job.id, job.logPolicy, job.command);
}

std::optional<UnwrappedCommand> ExecutionService::unwrapCommand(const QString& commandLine)
{
    return MonitoringCommandLine::unwrapCommand(commandLine);
}

std::optional<QString> ExecutionService::compatibilityIssue(const QString& command)
{
    return MonitoringCommandLine::compatibilityIssue(command);
}

std::optional<QString> ExecutionService::lengthIssue(const QString& command)
{
    return MonitoringCommandLine::lengthIssue(command);
}

} // namespace Tempolane
