#pragma once

#include "CronManaging.h"

#include <QThreadPool>

namespace Tempolane {

// An in-memory crontab with sample jobs, so the application can run without touching the
// real one.
class DemoCronClient final : public CronManaging
{
public:
    static QString sampleText();

    explicit DemoCronClient(QString contents = sampleText());
    ~DemoCronClient() override;
    Q_DISABLE_COPY_MOVE(DemoCronClient)

    QCoro::Task<std::expected<QString, CronClientError>> readCrontab() override;
    QCoro::Task<std::expected<void, CronClientError>> writeCrontab(QString text) override;

private:
    // Touched only on m_pool's one thread, so a read never sees a half-written value.
    QString m_contents;
    QThreadPool m_pool;
};

} // namespace Tempolane
