#include "LocalMachine.h"

#include "CanonicalUuid.h"
#include "ExecutionRecordReader.h"
#include "LocalFileView.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <pwd.h>
#include <unistd.h>

namespace Tempolane::LocalMachine {

namespace {

// System files are read only this far: enough for any real configuration.
constexpr qsizetype systemFileLimit = 1 << 20;

CheckAccount account()
{
    CheckAccount account{qEnvironmentVariable("LOGNAME"), uint(::getuid()), QDir::homePath(), {}};
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    QByteArray buffer(suggested > 0 ? suggested : 16384, Qt::Uninitialized);
    struct passwd entry
    {
    };
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), size_t(buffer.size()), &found) == 0 &&
        found) {
        account.name = QFile::decodeName(found->pw_name);
        account.home = QFile::decodeName(found->pw_dir);
    }
    // Where a login shell of Debian looks: the program's own search path, the folders
    // ~/.profile adds, and the system's.
    QStringList path = qEnvironmentVariable("PATH").split(u':', Qt::SkipEmptyParts);
    path << account.home + QStringLiteral("/.local/bin") << account.home + QStringLiteral("/bin");
    for (const char* folder : {"/usr/local/bin", "/usr/bin", "/bin", "/usr/local/sbin", "/usr/sbin",
                               "/sbin", "/usr/games", "/snap/bin"})
        path << QString::fromLatin1(folder);
    path.removeDuplicates();
    account.loginPath = path;
    return account;
}

} // namespace

std::optional<bool> isCronRunning()
{
    const QDir processes(QStringLiteral("/proc"));
    const QStringList entries = processes.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    bool hasProcess = false;
    for (const QString& entry : entries) {
        if (!entry.front().isDigit())
            continue;
        QFile name(processes.filePath(entry) + QStringLiteral("/comm"));
        if (!name.open(QIODevice::ReadOnly))
            continue;
        hasProcess = true;
        const QByteArray comm = name.read(64).trimmed();
        if (comm == "cron" || comm == "crond")
            return true;
    }
    if (!hasProcess)
        return std::nullopt;
    return false;
}

CheckMachine current(const QString& executions)
{
    auto files = std::make_shared<LocalFileView>();
    CheckMachine machine;
    machine.account = account();
    // pam_env reads its files whole; a file larger than this is no settings file of a person.
    const auto open = [files](const QString& path) -> std::unique_ptr<QIODevice> {
        auto bytes = files->head(path, systemFileLimit);
        if (!bytes)
            return nullptr;
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(std::move(*bytes));
        buffer->open(QIODevice::ReadOnly);
        return buffer;
    };
    if (auto pam = CronEnvironment::pamVariables(open, machine.account.forCron()))
        machine.pamVariables = std::move(*pam);
    else
        machine.cronSessionFailure = pam.error().description();
    machine.files = files;
    machine.isCronRunning = isCronRunning();
    machine.isAccount = [](const QString& name) {
        struct passwd entry
        {
        };
        struct passwd* found = nullptr;
        QByteArray buffer(16384, Qt::Uninitialized);
        return ::getpwnam_r(QFile::encodeName(name).constData(), &entry, buffer.data(),
                            size_t(buffer.size()), &found) == 0 &&
               found;
    };
    if (!executions.isEmpty()) {
        // Kept for later checks: the records of unchanged run files are read once.
        auto reader = std::make_shared<ExecutionRecordReader>();
        machine.runHistory = [reader, executions](const QUuid& jobId) {
            return reader->history(executions + u'/' + canonicalText(jobId), 100,
                                   ExecutionRecordReader::Output::lastMeaningfulLine);
        };
    }
    machine.zone = QTimeZone::systemTimeZone();
    machine.now = QDateTime::currentDateTimeUtc();
    return machine;
}

} // namespace Tempolane::LocalMachine
