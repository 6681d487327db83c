#include "CronSystemClient.h"

#include "Utf8.h"

#include <QCoro/QCoroFuture>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace Tempolane {

namespace {

QString trimmedErrorText(const QByteArray& standardError)
{
    return Utf8::decode(standardError).value_or(QString()).trimmed();
}

struct Run
{
    int status = 0;
    QByteArray standardOutput;
    QByteArray standardError;
};

// The text for the tool in a file that nobody can open by name, read from its start. A tool
// reading a pipe whose writer dies (this process killed while it starts the tool) reads a
// cut text, or none, and installs that; a file it reads whole, whatever happens here.
std::expected<int, CronProcessError> unnamedFileWith(const QByteArray& bytes)
{
    QByteArray name = QFile::encodeName(QDir::tempPath() + QStringLiteral("/tempolane.XXXXXX"));
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return std::unexpected(
            CronProcessError{CronProcessError::Kind::writeFailed, qt_error_string(errno)});
    ::unlink(name.constData());
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) ||
        file.write(bytes) != bytes.size() || !file.flush() || ::lseek(fd, 0, SEEK_SET) != 0) {
        const QString reason = file.errorString();
        ::close(fd);
        return std::unexpected(CronProcessError{CronProcessError::Kind::writeFailed, reason});
    }
    return fd;
}

// Blocking, on the client's thread. A local event loop drains both output pipes as data
// arrives, so a talkative child never blocks, and stops a child that runs past the time limit
// or says more than anyone's crontab holds. Without input the child reads this process's
// standard input.
std::expected<Run, CronClientError> runCrontab(const CronSystemClient::Tool& tool,
                                               const QStringList& arguments,
                                               const std::optional<QByteArray>& input)
{
    QProcess process;
    process.setProgram(tool.path);
    process.setArguments(arguments);
    int inputFile = -1;
    if (input) {
        const auto file = unnamedFileWith(*input);
        if (!file)
            return std::unexpected(file.error());
        inputFile = *file;
        process.setStandardInputFile(QProcess::nullDevice());
        process.setChildProcessModifier([inputFile] { ::dup2(inputFile, STDIN_FILENO); });
    } else {
        process.setInputChannelMode(QProcess::ForwardedInputChannel);
    }

    bool readFailed = false;
    QString pipeErrorText;
    QObject::connect(&process, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error == QProcess::ReadError && !readFailed) {
            readFailed = true;
            pipeErrorText = process.errorString();
        }
    });

    process.start();
    if (inputFile >= 0)
        ::close(inputFile);
    if (!process.waitForStarted(-1))
        return std::unexpected(
            CronProcessError{CronProcessError::Kind::launchFailed, process.errorString()});

    Run run;
    std::optional<CronSystemError> stopped;
    const auto stop = [&](CronSystemError reason) {
        if (!stopped) {
            stopped = std::move(reason);
            process.kill();
        }
    };
    const auto keep = [&](QByteArray& kept, const QByteArray& arrived) {
        if (stopped)
            return;
        kept += arrived;
        if (kept.size() > CronSystemError::outputLimit)
            stop(CronSystemError::outputTooLarge());
    };
    const auto keepArrived = [&] {
        keep(run.standardOutput, process.readAllStandardOutput());
        keep(run.standardError, process.readAllStandardError());
    };
    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, keepArrived);
    QObject::connect(&process, &QProcess::readyReadStandardError, keepArrived);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(tool.timeLimit, &loop, [&] { stop(CronSystemError::timedOut()); });

    if (process.state() != QProcess::NotRunning)
        loop.exec();
    keepArrived();

    // A stopped or killed child may have done part of its work; the caller decides what that
    // means. A crashed read keeps what the tool said before it died.
    if (stopped)
        return std::unexpected(*stopped);
    if (process.exitStatus() == QProcess::CrashExit)
        return std::unexpected(CronSystemError::terminated(trimmedErrorText(run.standardError)));
    if (readFailed)
        return std::unexpected(CronProcessError{CronProcessError::Kind::readFailed, pipeErrorText});

    run.status = process.exitCode();
    return run;
}

// The user the tool works for: the tool names it in its "no crontab" answer.
QString userName()
{
    passwd entry{};
    passwd* found = nullptr;
    std::array<char, 4096> buffer{};
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return QFile::decodeName(found->pw_name);
}

// The tool's whole answer for a user without a crontab, as Linux words it ("no crontab for
// ann") or with the tool's name in front, as BSD does. Nothing else counts: an answer that
// merely mentions it would let a save replace a crontab that exists.
bool saysNoCrontab(const Run& run)
{
    if (run.status != 1)
        return false;
    const QString answer = trimmedErrorText(run.standardError);
    const QString expected = QStringLiteral("no crontab for ") + userName();
    return answer == expected || answer == QStringLiteral("crontab: ") + expected;
}

std::expected<QString, CronClientError> readNow(const CronSystemClient::Tool& tool)
{
    const auto run = runCrontab(tool, QStringList(QStringLiteral("-l")), std::nullopt);
    if (!run)
        return std::unexpected(run.error());
    if (run->status == 0) {
        auto text = Utf8::decode(run->standardOutput);
        if (!text)
            return std::unexpected(CronSystemError::invalidOutput());
        return *text;
    }
    if (saysNoCrontab(*run))
        return QString();
    return std::unexpected(
        CronSystemError::commandFailed(run->status, trimmedErrorText(run->standardError)));
}

// Whether the tool's answer shows the written text. Debian's tool lists a carriage return as
// the two characters "\r" (and a backslash as itself); others give it back as it is.
bool showsWritten(const QString& installed, const QString& written)
{
    return installed == written ||
           (written.contains(u'\r') &&
            installed == QString(written).replace(u'\r', QStringLiteral("\\r")));
}

// The tool died or was stopped while it held the text: only the crontab itself can say
// whether the text was installed. If it was, the write did what was asked.
std::expected<void, CronClientError> settleByReadingBack(const CronSystemClient::Tool& tool,
                                                         const QString& text,
                                                         const CronSystemError& failure)
{
    const auto installed = readNow(tool);
    if (!installed)
        return std::unexpected(failure.afterWriteCheck(CronSystemError::WriteCheck::failed));
    if (!showsWritten(*installed, text))
        return std::unexpected(failure.afterWriteCheck(CronSystemError::WriteCheck::notInPlace));
    return {};
}

std::expected<void, CronClientError> writeNow(const CronSystemClient::Tool& tool,
                                              const QString& text)
{
    const auto run = runCrontab(tool, QStringList(QStringLiteral("-")), text.toUtf8());
    if (!run) {
        const CronSystemError* failure = run.error().systemError();
        if (failure && failure->leavesWriteUnknown())
            return settleByReadingBack(tool, text, *failure);
        return std::unexpected(run.error());
    }
    if (run->status != 0)
        return std::unexpected(
            CronSystemError::commandFailed(run->status, trimmedErrorText(run->standardError)));

    // A zero status alone does not prove the tool installed what it was given (it may have
    // stopped reading early), so the installed text is read back and compared.
    const auto installed = readNow(tool);
    if (!installed)
        return std::unexpected(installed.error());
    if (!showsWritten(*installed, text))
        return std::unexpected(CronSystemError::unconfirmedWrite());
    return {};
}

} // namespace

CronSystemClient::CronSystemClient(QString toolPath, std::chrono::milliseconds timeLimit)
    : m_tool{std::move(toolPath), timeLimit}
{
    m_pool.setMaxThreadCount(1);
}

CronSystemClient::~CronSystemClient()
{
    m_pool.waitForDone();
}

QCoro::Task<std::expected<QString, CronClientError>> CronSystemClient::readCrontab()
{
    auto future = QtConcurrent::run(&m_pool, readNow, m_tool);
    co_return co_await future;
}

QCoro::Task<std::expected<void, CronClientError>> CronSystemClient::writeCrontab(QString text)
{
    auto future = QtConcurrent::run(&m_pool, writeNow, m_tool, std::move(text));
    co_return co_await future;
}

} // namespace Tempolane
