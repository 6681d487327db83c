#include "JobRunsFeed.h"

#include "CronStore.h"

namespace Tempolane {

JobRunsFeed::JobRunsFeed(CronStore& store, QObject* parent) : QObject(parent), m_store(store)
{
    for (const auto signal : {&CronStore::selectionChanged, &CronStore::documentChanged,
                              &CronStore::executionSummariesChanged})
        connect(&m_store, signal, this, &JobRunsFeed::refresh);
}

void JobRunsFeed::setDrawnJobs(const QList<QUuid>& jobIds)
{
    if (jobIds == m_drawnJobs)
        return;
    m_drawnJobs = jobIds;
    refresh();
}

void JobRunsFeed::refresh()
{
    if (m_isReading) {
        m_isStale = true;
        return;
    }
    m_isReading = true;
    m_isStale = false;
    QList<QUuid> wanted = m_drawnJobs;
    if (!m_store.selection().isNull() && !wanted.contains(m_store.selection()))
        wanted.append(m_store.selection());
    QCoro::connect(m_store.refreshJobRuns(std::move(wanted)), this, [this] {
        m_isReading = false;
        if (m_isStale)
            refresh();
    });
}

} // namespace Tempolane
