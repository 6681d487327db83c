#include "WindowOpener.h"

#include "BusNames.h"
#include "SessionBus.h"
#include "WindowRequest.h"

#include <QDBusPendingCallWatcher>
#include <QProcess>

namespace Tempolane {

WindowOpener::WindowOpener(QDBusConnection bus, QString program, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_program(std::move(program)),
      m_window(BusNames::application(), m_bus, QDBusServiceWatcher::WatchForRegistration)
{
    m_startLimit.setSingleShot(true);
    m_startLimit.setInterval(startLimitMs);
    connect(&m_startLimit, &QTimer::timeout, this, [this] {
        m_whenStarted = nullptr;
        openWaiting();
    });
    connect(&m_window, &QDBusServiceWatcher::serviceRegistered, this, &WindowOpener::windowCameUp);
}

void WindowOpener::open(const QUuid& jobId, std::function<void()> done)
{
    if (m_isAsking || m_startLimit.isActive()) {
        m_waiting = std::pair(jobId, std::move(done));
        return;
    }
    if (!m_bus.isConnected()) {
        start(jobId, std::move(done));
        return;
    }
    // Asking is the test of whether a window runs: a missing name answers at once with an error.
    m_isAsking = true;
    auto* call = new QDBusPendingCallWatcher(
        m_bus.asyncCall(WindowRequest::showJobCall(jobId), SessionBus::callTimeoutMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, jobId, done = std::move(done)](QDBusPendingCallWatcher* finished) mutable {
                finished->deleteLater();
                m_isAsking = false;
                if (finished->isError()) {
                    start(jobId, std::move(done));
                    return;
                }
                if (done)
                    done();
                openWaiting();
            });
}

void WindowOpener::openWaiting()
{
    if (auto waiting = std::exchange(m_waiting, std::nullopt))
        open(waiting->first, std::move(waiting->second));
}

void WindowOpener::start(const QUuid& jobId, std::function<void()> done)
{
    QStringList arguments;
    if (!jobId.isNull())
        arguments << QStringLiteral("--job") << jobId.toString(QUuid::WithoutBraces);
    QProcess program;
    program.setProgram(m_program);
    program.setArguments(arguments);
    program.setStandardInputFile(QProcess::nullDevice());
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    if (!program.startDetached()) {
        qWarning("Tempolane: %s could not be started", qUtf8Printable(m_program));
        openWaiting();
        return;
    }
    m_whenStarted = std::move(done);
    m_startLimit.start();
}

void WindowOpener::windowCameUp()
{
    if (!m_startLimit.isActive())
        return;
    m_startLimit.stop();
    // The started program shows the job it was started with.
    if (const auto done = std::exchange(m_whenStarted, nullptr))
        done();
    openWaiting();
}

} // namespace Tempolane
