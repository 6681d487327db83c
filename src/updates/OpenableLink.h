#pragma once

#include <QUrl>

namespace Tempolane {

// Whether an address that came from the network may be opened or fetched: https anywhere,
// plain http only on this computer (local mirrors and tests).
bool isOpenableLink(const QUrl& url);

} // namespace Tempolane
