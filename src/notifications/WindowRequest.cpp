#include "WindowRequest.h"

#include "BusNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QProcess>

namespace Tempolane::WindowRequest {

namespace {

QDBusMessage showJob(const QUuid& jobId)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(BusNames::application(), BusNames::applicationPath(),
                                       BusNames::applicationInterface(), BusNames::showJobMethod());
    message << (jobId.isNull() ? QString() : jobId.toString(QUuid::WithoutBraces));
    return message;
}

void start(const QUuid& jobId, const QString& program)
{
    QStringList arguments;
    if (!jobId.isNull())
        arguments << QStringLiteral("--job") << jobId.toString(QUuid::WithoutBraces);
    if (!QProcess::startDetached(program, arguments))
        qWarning("Tempolane: %s could not be started", qUtf8Printable(program));
}

} // namespace

bool handOver(const QDBusConnection& bus, const QUuid& jobId, int timeoutMs)
{
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(BusNames::application()))
        return false;
    return bus.call(showJob(jobId), QDBus::Block, timeoutMs).type() == QDBusMessage::ReplyMessage;
}

void openJob(const QDBusConnection& bus, const QUuid& jobId, const QString& program)
{
    if (!bus.isConnected()) {
        start(jobId, program);
        return;
    }
    // Asking is the test of whether a window runs: a missing name answers at once with an error.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(showJob(jobId)));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [jobId, program](QDBusPendingCallWatcher* finished) {
                         if (finished->isError())
                             start(jobId, program);
                         finished->deleteLater();
                     });
}

} // namespace Tempolane::WindowRequest
