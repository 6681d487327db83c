#include "NotificationSwitch.h"

#include "BusNames.h"
#include "CrontabText.h"
#include "PrivateFiles.h"
#include "SessionBus.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

TEMPOLANE_TEXT_CONTEXT(NotificationSwitch)

namespace Tempolane {

namespace {

const QString programName = QStringLiteral("tempolane");

// One argument of an Exec line: quoted where the line's syntax reserves a character, then
// escaped as every value of the entry is.
QString execArgument(QString argument)
{
    argument.replace(u'%', QStringLiteral("%%"));
    static const QString reserved = QStringLiteral(" \t\"'\\><~|&;$*?#()`");
    const bool needsQuotes = std::any_of(argument.cbegin(), argument.cend(),
                                         [](QChar c) { return reserved.contains(c); });
    if (!needsQuotes)
        return argument;
    QString quoted(1, u'"');
    for (const QChar c : std::as_const(argument)) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    return quoted.replace(u'\\', QStringLiteral("\\\\"));
}

bool hasControlCharacter(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

// An entry far larger than any desktop entry is not read.
constexpr qint64 entrySizeCap = 64 * 1024;

// The program an Exec line names, its quoting and escapes undone.
QString execProgram(const QString& exec)
{
    QString unescaped = exec;
    unescaped.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    if (!unescaped.startsWith(u'"'))
        return unescaped.section(u' ', 0, 0).replace(QStringLiteral("%%"), QStringLiteral("%"));
    QString program;
    for (qsizetype i = 1; i < unescaped.size() && unescaped[i] != u'"'; ++i) {
        if (unescaped[i] == u'\\' && i + 1 < unescaped.size())
            ++i;
        program += unescaped[i];
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

// What the entry at the path says, as far as the switch cares.
struct EntryContent
{
    QString exec;
    bool isDisabled = false;

    // Written by Tempolane: it starts the desktop program's watcher.
    bool isOurs() const
    {
        return exec.endsWith(QStringLiteral(" --background")) &&
               QFileInfo(execProgram(exec)).fileName() == programName;
    }
};

std::optional<EntryContent> readEntry(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    EntryContent content;
    bool isInMainGroup = false;
    for (const QByteArray& rawLine : file.read(entrySizeCap).split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'['))
            isInMainGroup = line == u"[Desktop Entry]";
        if (!isInMainGroup)
            continue;
        const QString key = line.section(u'=', 0, 0).trimmed();
        const QString value = line.section(u'=', 1).trimmed();
        if (key == u"Exec")
            content.exec = value;
        else if ((key == u"Hidden" && value == u"true") ||
                 (key == u"X-GNOME-Autostart-enabled" && value == u"false"))
            content.isDisabled = true;
    }
    return content;
}

} // namespace

NotificationSwitch::NotificationSwitch(QString autostartFolder, QString program)
    : m_autostartFolder(std::move(autostartFolder)), m_program(std::move(program))
{
}

QString NotificationSwitch::userAutostartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}

QString NotificationSwitch::desktopProgram()
{
    const QFileInfo running(QCoreApplication::applicationFilePath());
    if (running.fileName() == programName)
        return running.absoluteFilePath();
    const QFileInfo sibling(running.dir(), programName);
    if (sibling.isFile() && sibling.isExecutable())
        return sibling.absoluteFilePath();
    const QString onPath = QStandardPaths::findExecutable(programName);
    return onPath.isEmpty() ? programName : onPath;
}

QString NotificationSwitch::entryFileName()
{
    return BusNames::watcher() + QStringLiteral(".desktop");
}

QString NotificationSwitch::entryText(const QString& program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Comment=%2\n"
                          "Exec=%3 --background\n"
                          "Icon=%4\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n")
        .arg(tr("Tempolane-Benachrichtigungen"),
             tr("Meldet fehlgeschlagene, abgebrochene und verpasste Cronjobs"),
             execArgument(program), BusNames::application());
}

QString NotificationSwitch::entryPath() const
{
    return QDir(m_autostartFolder).filePath(entryFileName());
}

NotificationSwitch::State NotificationSwitch::state() const
{
    const auto entry = readEntry(entryPath());
    if (!entry)
        return State::off;
    return entry->isDisabled ? State::disabledByDesktop : State::on;
}

std::optional<bool> NotificationSwitch::isWatcherRunning()
{
    const QDBusConnection bus = SessionBus::connection();
    if (!bus.isConnected())
        return SessionBus::prepare() == SessionBus::Verdict::silent ? std::nullopt
                                                                    : std::optional(false);
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(BusNames::watcher());
    return registered.isValid() ? std::optional(registered.value()) : std::nullopt;
}

std::expected<NotificationSwitch::Switched, QString> NotificationSwitch::switchOn() const
{
    if (hasControlCharacter(m_program))
        return std::unexpected(
            tr("Der Pfad des Programms kann nicht in den Autostart: %1").arg(m_program));
    // An entry that starts nothing would only fail quietly at every login.
    if (const QFileInfo program(m_program); !program.isFile() || !program.isExecutable())
        return std::unexpected(tr("Das Programm %1 wurde nicht gefunden.").arg(m_program));
    if (!QDir().mkpath(m_autostartFolder))
        return std::unexpected(
            tr("Der Ordner %1 kann nicht angelegt werden.").arg(m_autostartFolder));
    const Switched switched{noteOnReplacing(tr("Ein Verweis an der Stelle des Autostart-"
                                               "Eintrags auf %1 wurde durch den Eintrag "
                                               "ersetzt; die Datei selbst bleibt unverändert."),
                                            tr("Ein Autostart-Eintrag gleichen Namens, der "
                                               "nicht von Tempolane stammt, wurde ersetzt; er "
                                               "startete: %1"))};
    // Written beside and renamed into place: a link at the entry's name is replaced, never
    // written through.
    if (const auto written =
            PrivateFiles::writeAtomically(entryPath(), entryText(m_program).toUtf8(), 0644);
        !written)
        return std::unexpected(written.error().message);
    // A watcher that runs already keeps its name; the new one sees that and ends. It keeps
    // none of the caller's streams, so that a caller reading them is not held up.
    QProcess watcher;
    watcher.setProgram(m_program);
    watcher.setArguments({QStringLiteral("--background")});
    watcher.setStandardInputFile(QProcess::nullDevice());
    watcher.setStandardOutputFile(QProcess::nullDevice());
    watcher.setStandardErrorFile(QProcess::nullDevice());
    if (!watcher.startDetached())
        return std::unexpected(tr("%1 konnte nicht gestartet werden.").arg(m_program));
    return switched;
}

std::expected<NotificationSwitch::Switched, QString> NotificationSwitch::switchOff() const
{
    const QFileInfo info(entryPath());
    if (!info.exists() && !info.isSymLink())
        return Switched();
    const Switched switched{noteOnReplacing(tr("Ein Verweis an der Stelle des Autostart-"
                                               "Eintrags auf %1 wurde entfernt; die Datei "
                                               "selbst bleibt unverändert."),
                                            tr("Ein Autostart-Eintrag gleichen Namens, der "
                                               "nicht von Tempolane stammt, wurde entfernt; er "
                                               "startete: %1"))};
    QFile entry(entryPath());
    if (!entry.remove())
        return std::unexpected(entry.errorString());
    return switched;
}

QString NotificationSwitch::noteOnReplacing(const QString& aboutLink,
                                            const QString& aboutForeignEntry) const
{
    const QFileInfo info(entryPath());
    if (info.isSymLink())
        return aboutLink.arg(CrontabText::printable(info.symLinkTarget()));
    if (const auto previous = readEntry(entryPath()); previous && !previous->isOurs())
        return aboutForeignEntry.arg(CrontabText::printable(previous->exec));
    return {};
}

QDBusPendingCall NotificationSwitch::stopWatcher()
{
    return SessionBus::connection().asyncCall(
        QDBusMessage::createMethodCall(BusNames::watcher(), BusNames::watcherPath(),
                                       BusNames::watcherInterface(), BusNames::quitMethod()),
        SessionBus::callTimeoutMs);
}

} // namespace Tempolane
