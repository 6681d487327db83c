#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <optional>

namespace Tempolane::XAuthority {

// The MIT-MAGIC-COOKIE-1 an X client sends to display `number` over a connection of
// `family` (AF_UNIX, AF_INET, AF_INET6) to `peer` (the peer's address bytes; unused for a local
// connection), chosen from the user's authority file (XAUTHORITY, else ~/.Xauthority) as the X
// library chooses it; nothing where the file holds none, and the connection goes without.
std::optional<QByteArray> cookieFor(const QProcessEnvironment& environment, int family,
                                    const QByteArray& peer, uint number);

} // namespace Tempolane::XAuthority
