#include "CronSystemClient.h"

#include "Utf8.h"

#include <QCoreApplication>
#include <QCoro/QCoroFuture>
#include <QProcess>
#include <QtConcurrent/QtConcurrentRun>
#include <optional>

namespace Tempolane {

namespace {

struct Run
{
    int status = 0;
    QByteArray standardOutput;
    QByteArray standardError;
};

// Blocking; both output pipes are drained while the child runs. Without input the child
// reads this process's standard input.
std::expected<Run, CronClientError> runCrontab(const QString& toolPath,
                                               const QStringList& arguments,
                                               const std::optional<QByteArray>& input)
{
    QProcess process;
    process.setProgram(toolPath);
    process.setArguments(arguments);
    if (!input)
        process.setInputChannelMode(QProcess::ForwardedInputChannel);

    bool writeFailed = false;
    bool readFailed = false;
    QString pipeErrorText;
    QObject::connect(&process, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error == QProcess::WriteError && !writeFailed) {
            writeFailed = true;
            pipeErrorText = process.errorString();
        } else if (error == QProcess::ReadError && !readFailed) {
            readFailed = true;
            pipeErrorText = process.errorString();
        }
    });

    process.start();
    if (!process.waitForStarted(-1))
        return std::unexpected(
            CronProcessError{CronProcessError::Kind::launchFailed, process.errorString()});

    if (input) {
        process.write(*input);
        process.closeWriteChannel();
    }
    // Waiting reads both output pipes as data arrives, so a talkative child never blocks.
    if (!process.waitForFinished(-1) && process.state() != QProcess::NotRunning) {
        // The wait gave up early; a child left running could still install a text after we
        // reported failure.
        process.kill();
        process.waitForFinished(-1);
        return std::unexpected(CronSystemError::terminated());
    }

    // Killed or crashed while given a text: whether it was installed is unknown, so it is no
    // success. A crashed read is an ordinary failure with whatever the tool said.
    if (process.exitStatus() == QProcess::CrashExit && input)
        return std::unexpected(CronSystemError::terminated());
    if (readFailed)
        return std::unexpected(CronProcessError{CronProcessError::Kind::readFailed, pipeErrorText});

    Run run{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    // A refusing tool may stop reading early; its own message then says more than the pipe.
    if (run.status == 0 && (writeFailed || process.bytesToWrite() > 0))
        return std::unexpected(CronProcessError{
            CronProcessError::Kind::writeFailed,
            writeFailed ? pipeErrorText
                        : QCoreApplication::translate("CronSystemClient",
                                                      "%n Byte(s) blieben ungeschrieben.", nullptr,
                                                      int(process.bytesToWrite()))});
    return run;
}

QString trimmedErrorText(const QByteArray& standardError)
{
    return Utf8::decode(standardError).value_or(QString()).trimmed();
}

std::expected<QString, CronClientError> readNow(const QString& toolPath)
{
    const auto run = runCrontab(toolPath, QStringList(QStringLiteral("-l")), std::nullopt);
    if (!run)
        return std::unexpected(run.error());
    if (run->status == 0) {
        auto text = Utf8::decode(run->standardOutput);
        if (!text)
            return std::unexpected(CronSystemError::invalidOutput());
        return *text;
    }
    const QString errorText = trimmedErrorText(run->standardError);
    if (run->status == 1 && errorText.contains(u"no crontab for", Qt::CaseInsensitive))
        return QString();
    return std::unexpected(CronSystemError::commandFailed(run->status, errorText));
}

std::expected<void, CronClientError> writeNow(const QString& toolPath, const QString& text)
{
    const auto run = runCrontab(toolPath, QStringList(QStringLiteral("-")), text.toUtf8());
    if (!run)
        return std::unexpected(run.error());
    if (run->status != 0)
        return std::unexpected(
            CronSystemError::commandFailed(run->status, trimmedErrorText(run->standardError)));

    // A zero status alone does not prove the tool installed what it was given (it may have
    // stopped reading early), so the installed text is read back and compared.
    const auto installed = readNow(toolPath);
    if (!installed)
        return std::unexpected(installed.error());
    if (*installed != text)
        return std::unexpected(CronSystemError::unconfirmedWrite());
    return {};
}

} // namespace

CronSystemClient::CronSystemClient(QString toolPath) : m_toolPath(std::move(toolPath))
{
    m_pool.setMaxThreadCount(1);
}

CronSystemClient::~CronSystemClient()
{
    m_pool.waitForDone();
}

QCoro::Task<std::expected<QString, CronClientError>> CronSystemClient::readCrontab()
{
    auto future = QtConcurrent::run(&m_pool, readNow, m_toolPath);
    co_return co_await future;
}

QCoro::Task<std::expected<void, CronClientError>> CronSystemClient::writeCrontab(QString text)
{
    auto future = QtConcurrent::run(&m_pool, writeNow, m_toolPath, std::move(text));
    co_return co_await future;
}

} // namespace Tempolane
