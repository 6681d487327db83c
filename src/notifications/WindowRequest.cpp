#include "WindowRequest.h"

#include "BusNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace Tempolane::WindowRequest {

QDBusMessage showJobCall(const QUuid& jobId)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(BusNames::application(), BusNames::applicationPath(),
                                       BusNames::applicationInterface(), BusNames::showJobMethod());
    message << (jobId.isNull() ? QString() : jobId.toString(QUuid::WithoutBraces));
    return message;
}

bool handOver(const QDBusConnection& bus, const QUuid& jobId, int timeoutMs)
{
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(BusNames::application()))
        return false;
    return bus.call(showJobCall(jobId), QDBus::Block, timeoutMs).type() ==
           QDBusMessage::ReplyMessage;
}

} // namespace Tempolane::WindowRequest
