#pragma once

#include <QUrl>

namespace Tempolane {

// Whether a link that came from the network may be offered and opened: https only.
bool isOpenableLink(const QUrl& url);

// Whether an update feed may be fetched from this address: https anywhere, plain http only on
// this computer (local mirrors and tests).
bool isFeedAddress(const QUrl& url);

// Whether a fetch may follow a redirect from one address to another: to https, or from this
// computer to this computer; a redirect must never take a feed off https.
bool mayRedirect(const QUrl& from, const QUrl& to);

} // namespace Tempolane
