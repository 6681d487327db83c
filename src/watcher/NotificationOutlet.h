#pragma once

#include "Notification.h"

#include <QUuid>
#include <functional>

namespace Tempolane {

// Where the watcher's notifications go: the desktop's notification service, or a test's record.
class NotificationOutlet
{
public:
    // Whether the service took a notification; called once, later or at once.
    using Delivered = std::function<void(bool isAccepted)>;

    virtual ~NotificationOutlet() = default;

    // Shows the notification in place of the job's one on screen, if any.
    virtual void show(const Notification& notification, Delivered delivered) = 0;
    // Takes the job's notification off the screen, if one stands there.
    virtual void withdraw(const QUuid& jobId) = 0;
};

} // namespace Tempolane
