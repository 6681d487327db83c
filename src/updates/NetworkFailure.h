#pragma once

#include "UpdateCheckOutcome.h"

#include <QNetworkReply>

namespace Tempolane {

// A failed request for the feed, told in German by its kind (no connection, server not found,
// time-out, the server's HTTP status); the network's own text stays as the detail.
// httpStatus is 0 when no answer came.
UpdateCheckFailed networkFailure(QNetworkReply::NetworkError error, int httpStatus,
                                 const QString& technicalText);

} // namespace Tempolane
