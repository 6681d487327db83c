#pragma once

#include "CheckMachine.h"

#include <QHash>
#include <QStringList>

namespace Tempolane::Testing {

// A file system described in a few words per file, for the checks:
//   "x:/usr/bin/php"        an executable file (a "#!" text unless "=" gives the content)
//   "r:/home/ann/run.sh"    a file of the user's, not executable
//   "R:/opt/run.sh"         someone else's, not executable
//   "d:/home/ann/Scripts"   a folder
//   "s:/home/ann/pipe"      a pipe, device or socket
//   "u:/home/ann/locked/x"  behind a folder that may not be entered, or a loop of links
//   "-:/usr/sbin/sendmail"  not there (takes a file of the standard machine away)
//   "x:/home/ann/tool.py=import os"   with its first bytes
class FakeFiles final : public FileView
{
public:
    explicit FakeFiles(const QStringList& entries)
    {
        for (const QString& entry : entries)
            add(entry);
    }

    void add(const QString& entry)
    {
        const QChar kind = entry.front();
        QString path = entry.sliced(2);
        QByteArray content = "#!/bin/sh\n";
        if (const qsizetype equals = path.indexOf(u'='); equals >= 0) {
            content = path.sliced(equals + 1).toUtf8();
            path.truncate(equals);
        }
        if (kind == u'-') {
            m_files.remove(path);
            return;
        }
        FileStatus status;
        status.isOwnedByUser = kind != u'R';
        switch (kind.unicode()) {
        case u'x':
            status = {FileStatus::Kind::regular, true, true};
            break;
        case u'r':
        case u'R':
            status.kind = FileStatus::Kind::regular;
            break;
        case u'd':
            status = {FileStatus::Kind::directory, true, true};
            break;
        case u's':
            status.kind = FileStatus::Kind::special;
            break;
        default:
            status.kind = FileStatus::Kind::unreachable;
        }
        m_files.insert(path, {status, content});
    }

    FileStatus status(const QString& path) const override
    {
        ++m_looks;
        return m_files.value(path).status;
    }

    std::optional<QByteArray> head(const QString& path, qsizetype limit) const override
    {
        const auto file = m_files.constFind(path);
        if (file == m_files.cend() || file->status.kind != FileStatus::Kind::regular)
            return std::nullopt;
        return file->content.first(std::min(limit, file->content.size()));
    }

    // How often a file's status was asked for.
    qsizetype looks() const { return m_looks; }

private:
    struct File
    {
        FileStatus status;
        QByteArray content;
    };
    QHash<QString, File> m_files;
    mutable qsizetype m_looks = 0;
};

// The usual programs of a Debian machine with a mail program and cron running.
inline QStringList standardFiles()
{
    return {"x:/bin/sh",          "x:/bin/bash",           "x:/bin/true",
            "x:/bin/date",        "x:/usr/bin/env",        "x:/usr/bin/curl",
            "x:/usr/bin/python3", "x:/usr/bin/flock",      "x:/usr/sbin/sendmail",
            "d:/home/ann",        "x:/usr/bin/notify-send"};
}

// Ann (uid 1000) in Berlin, on 1 March 2026 at noon, on the standard machine with `changes`.
inline CheckMachine fakeMachine(const QStringList& changes = {})
{
    CheckMachine machine;
    machine.account = {QStringLiteral("ann"),
                       1000,
                       QStringLiteral("/home/ann"),
                       {QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin"),
                        QStringLiteral("/bin"), QStringLiteral("/home/ann/.local/bin")}};
    machine.files = std::make_shared<FakeFiles>(standardFiles() + changes);
    machine.isCronRunning = true;
    machine.isAccount = [](const QString& name) { return name == u"root" || name == u"ann"; };
    machine.zone = QTimeZone(QByteArrayLiteral("Europe/Berlin"));
    machine.now = QDateTime(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
    return machine;
}

} // namespace Tempolane::Testing
