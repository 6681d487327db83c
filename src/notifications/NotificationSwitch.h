#pragma once

#include <QDBusPendingCall>
#include <QString>
#include <expected>
#include <optional>

namespace Tempolane {

// Notifications of failed, interrupted and missed runs are on while the watcher's autostart
// entry exists: the desktop starts `tempolane --background` at every login. Switching writes
// or removes the entry and starts or stops the watcher at once.
class NotificationSwitch final
{
public:
    // `autostartFolder` holds the entry; `program` is the desktop program the entry starts.
    NotificationSwitch(QString autostartFolder, QString program);

    // The user's autostart folder ($XDG_CONFIG_HOME/autostart).
    static QString userAutostartFolder();
    // The desktop program beside the running one (`tempolane` beside `tempolane-cli`), else the
    // one on PATH; the running program itself when it is the desktop program.
    static QString desktopProgram();
    static QString entryFileName();
    // The entry's text, valid for desktop-file-validate whatever the program's path holds.
    static QString entryText(const QString& program);

    QString entryPath() const;
    bool isOn() const;
    // Whether a watcher runs in this session (it owns its name on the session bus); unknown
    // where the bus does not answer in time.
    static std::optional<bool> isWatcherRunning();

    // Writes the entry and starts the watcher. The error's text in the system's own words.
    std::expected<void, QString> switchOn() const;
    // Removes the entry; stopWatcher() ends the running watcher.
    std::expected<void, QString> switchOff() const;
    // Asks the session's watcher to end, without waiting for it.
    static QDBusPendingCall stopWatcher();

private:
    QString m_autostartFolder;
    QString m_program;
};

} // namespace Tempolane
