#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QUuid>

// Bringing the one window of the session forward, with a job selected.
namespace Tempolane::WindowRequest {

// Asks the window process that owns the application's bus name to come forward, with the job
// selected unless it is null; true when it answered. Waits at most `timeoutMs`: for a program
// that is starting and shows nothing yet.
bool handOver(const QDBusConnection& bus, const QUuid& jobId, int timeoutMs = 2000);

// The call ShowJob with the job, or without one (a null id) only bringing the window forward.
QDBusMessage showJobCall(const QUuid& jobId);

} // namespace Tempolane::WindowRequest
