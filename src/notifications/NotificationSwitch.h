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

    enum class State
    {
        off,
        on,
        // The entry is there, but the desktop's own settings keep it from starting anything
        // (Hidden=true, X-GNOME-Autostart-enabled=false); switching on enables it again.
        disabledByDesktop
    };

    // What a switch did that the user should know of, such as an entry of another program
    // that it replaced; empty when there is nothing to tell.
    struct Switched
    {
        QString note;
    };

    QString entryPath() const;
    State state() const;
    bool isOn() const { return state() == State::on; }
    // Whether a watcher runs in this session (it owns its name on the session bus); unknown
    // where the bus does not answer in time.
    static std::optional<bool> isWatcherRunning();

    // Writes the entry, in place of a link or of an entry Tempolane did not write, and starts
    // the watcher detached from the caller. The error's text in the system's own words.
    std::expected<Switched, QString> switchOn() const;
    // Removes the entry (a link: the link only); stopWatcher() ends the running watcher.
    std::expected<Switched, QString> switchOff() const;
    // Asks the session's watcher to end, without waiting for it.
    static QDBusPendingCall stopWatcher();

private:
    // What replacing or removing what stands at the entry's name tells: about a link, about an
    // entry Tempolane did not write (each text with %1 for what it led to or started), or
    // nothing.
    QString noteOnReplacing(const QString& aboutLink, const QString& aboutForeignEntry) const;

    QString m_autostartFolder;
    QString m_program;
};

} // namespace Tempolane
