#include "NotificationSwitch.h"

#include "BusNames.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
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

bool NotificationSwitch::isOn() const
{
    return QFileInfo::exists(entryPath());
}

bool NotificationSwitch::isWatcherRunning()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()->isServiceRegistered(BusNames::watcher());
}

std::expected<void, QString> NotificationSwitch::switchOn() const
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
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(entryText(m_program).toUtf8()) < 0 ||
        !file.commit())
        return std::unexpected(file.errorString());
    // A watcher that runs already keeps its name; the new one sees that and ends.
    if (!QProcess::startDetached(m_program, {QStringLiteral("--background")}))
        return std::unexpected(tr("%1 konnte nicht gestartet werden.").arg(m_program));
    return {};
}

std::expected<void, QString> NotificationSwitch::switchOff() const
{
    QFile entry(entryPath());
    if (entry.exists() && !entry.remove())
        return std::unexpected(entry.errorString());
    return {};
}

QDBusPendingCall NotificationSwitch::stopWatcher()
{
    return QDBusConnection::sessionBus().asyncCall(
        QDBusMessage::createMethodCall(BusNames::watcher(), BusNames::watcherPath(),
                                       BusNames::watcherInterface(), BusNames::quitMethod()));
}

} // namespace Tempolane
