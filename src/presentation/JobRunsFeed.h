#pragma once

#include <QList>
#include <QObject>
#include <QUuid>

namespace Tempolane {

class CronStore;

// Keeps the store's run records of the jobs the window draws up to date: the selected job's,
// for its run chart, and while the timeline shows, those of its lanes. It reads them again when
// the selection or the drawn jobs change and whenever a status refresh brings another run.
class JobRunsFeed final : public QObject
{
    Q_OBJECT

public:
    explicit JobRunsFeed(CronStore& store, QObject* parent = nullptr);

    // The jobs drawn besides the selected one; none while the timeline is hidden.
    void setDrawnJobs(const QList<QUuid>& jobIds);

private:
    void refresh();

    CronStore& m_store;
    QList<QUuid> m_drawnJobs;
    bool m_isReading = false;
    // Asked again while a read was under way: read once more when it ends.
    bool m_isStale = false;
};

} // namespace Tempolane
