#pragma once

#include <QDBusConnection>
#include <QProcessEnvironment>
#include <chrono>

// The session bus, asked with a time limit: a bus that accepts and then never answers would
// otherwise hold every call, and Qt's own connecting, for half a minute and more.
namespace Tempolane::SessionBus {

// How long one call on the bus may take.
inline constexpr int callTimeoutMs = 3000;

enum class Verdict
{
    answers,
    // No bus is named, or nothing accepts at its address.
    absent,
    // The bus accepts but does not answer in time, or answers what is no bus.
    silent,
    // An address of a kind not tried here (autolaunch, nonce-tcp …), left to Qt.
    untried
};

// Whether the bus the environment names (DBUS_SESSION_BUS_ADDRESS, else the runtime folder's
// "bus") completes the connection's greeting and answers Hello within `timeLimit`.
Verdict ask(const QProcessEnvironment& environment, std::chrono::milliseconds timeLimit);

// Asks once per process, before Qt connects to the bus. Where the bus is absent or silent, the
// process goes on without it, Qt's own uses included. Meant to run before the application
// object exists; later calls give the first answer.
Verdict prepare(std::chrono::milliseconds timeLimit = std::chrono::milliseconds(callTimeoutMs));

// The session bus with calls limited to `callTimeoutMs`, or a connection that is not connected
// where it is absent or silent.
QDBusConnection connection();

} // namespace Tempolane::SessionBus
