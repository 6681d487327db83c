#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>
#include <QUuid>
#include <functional>
#include <optional>

namespace Tempolane {

// Brings the session's window forward with a job selected, for a notification's "Anzeigen":
// asks the window process, and where none answers starts the desktop program with "--job ID".
// While the window is being asked or a started program has not yet come up, no second one
// starts: the newest request waits and goes to the window once it answers on the bus.
class WindowOpener final : public QObject
{
    Q_OBJECT

public:
    // How long a started program may take to take its name on the bus.
    static constexpr int startLimitMs = 20'000;

    WindowOpener(QDBusConnection bus, QString program, QObject* parent = nullptr);

    // `done` runs once the window has the job; not at all where the program cannot be started.
    void open(const QUuid& jobId, std::function<void()> done);

private:
    void start(const QUuid& jobId, std::function<void()> done);
    void windowCameUp();
    void openWaiting();

    QDBusConnection m_bus;
    QString m_program;
    QDBusServiceWatcher m_window;
    QTimer m_startLimit;
    bool m_isAsking = false;
    std::function<void()> m_whenStarted;
    // The newest request made while a program was starting.
    std::optional<std::pair<QUuid, std::function<void()>>> m_waiting;
};

} // namespace Tempolane
