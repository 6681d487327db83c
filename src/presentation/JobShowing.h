#pragma once

#include <QUuid>
#include <qcoro/qcorotask.h>

namespace Tempolane {

class CronStore;

// Selects the job a notification or another start of the program asks for: read afresh when
// the crontab as last read does not hold it yet, and shown even where the list's filter or
// search would hide it. A job the crontab does not hold leaves the selection as it is, and so
// does staying with the edits of the job shown when the store's leave guard asks.
QCoro::Task<> showJob(CronStore& store, QUuid jobId);

} // namespace Tempolane
