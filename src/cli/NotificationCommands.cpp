#include "CliCommand.h"
#include "NotificationSwitch.h"

namespace Tempolane::Cli {

int notifications(const QStringList& arguments, Streams streams)
{
    const QString action = arguments.size() == 1 ? arguments.front() : QString();
    const NotificationSwitch notificationSwitch(NotificationSwitch::userAutostartFolder(),
                                                NotificationSwitch::desktopProgram());
    if (action == u"status") {
        const auto isRunning = NotificationSwitch::isWatcherRunning();
        const auto state = notificationSwitch.state();
        streams.out << (state == NotificationSwitch::State::on ? "on" : "off") << u'\t'
                    << (!isRunning   ? "watcher state unknown (the session bus does not answer)"
                        : *isRunning ? "watcher running"
                                     : "watcher not running");
        if (state == NotificationSwitch::State::disabledByDesktop)
            streams.out << "\tdisabled in the desktop's autostart settings";
        streams.out << Qt::endl;
        return success;
    }
    if (action == u"on" || action == u"off") {
        const auto switched =
            action == u"on" ? notificationSwitch.switchOn() : notificationSwitch.switchOff();
        if (!switched) {
            streams.err << switched.error() << Qt::endl;
            return failure;
        }
        if (!switched->note.isEmpty())
            streams.err << switched->note << Qt::endl;
        if (action == u"off")
            NotificationSwitch::stopWatcher().waitForFinished();
        streams.out << notificationSwitch.entryPath() << Qt::endl;
        return success;
    }
    streams.err << "usage: tempolane-cli notifications on|off|status" << Qt::endl;
    return usageError;
}

} // namespace Tempolane::Cli
