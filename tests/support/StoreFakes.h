#pragma once

#include "CronManaging.h"
#include "ExecutionManaging.h"

#include <QCoro/QCoroSignal>
#include <QObject>
#include <QStringList>

namespace Tempolane {

// Holds every call until the test releases it, so overlapping operations can be staged.
class Gate : public QObject
{
    Q_OBJECT
public:
    bool isClosed = false;
    int waiting = 0;

    QCoro::Task<> pass()
    {
        if (!isClosed)
            co_return;
        ++waiting;
        co_await qCoro(this, &Gate::opened);
        --waiting;
    }
    void open()
    {
        isClosed = false;
        Q_EMIT opened();
    }

Q_SIGNALS:
    void opened();
};

// A crontab in memory that records what was done to it, in order.
class FakeCronClient final : public CronManaging
{
public:
    QString contents;
    QStringList calls;
    Gate gate;
    std::optional<CronClientError> readError;
    std::optional<CronClientError> writeError;
    std::shared_ptr<QStringList> sharedLog = std::make_shared<QStringList>();

    QCoro::Task<std::expected<QString, CronClientError>> readCrontab() override
    {
        calls.append(QStringLiteral("read"));
        sharedLog->append(QStringLiteral("read"));
        co_await gate.pass();
        if (readError)
            co_return std::unexpected(*readError);
        // QCoro moves from an lvalue that must be converted, so hand it a copy.
        co_return QString(contents);
    }

    QCoro::Task<std::expected<void, CronClientError>> writeCrontab(QString text) override
    {
        calls.append(QStringLiteral("write"));
        sharedLog->append(QStringLiteral("write"));
        co_await gate.pass();
        if (writeError)
            co_return std::unexpected(*writeError);
        contents = std::move(text);
        co_return {};
    }
};

// Execution monitoring with summaries and histories set by the test; records every call.
class FakeExecutionManager final : public ExecutionManaging
{
public:
    QMap<QUuid, JobExecutionSummary> summaryMap;
    // Every job's history, unless it has one of its own.
    QList<JobExecutionRecord> records;
    QMap<QUuid, QList<JobExecutionRecord>> recordsOf;
    QStringList calls;
    QList<QUuid> preparedIds;
    QList<EnvironmentAssignment> lastRunAssignments;
    Gate installGate;
    Gate runGate;
    std::optional<ExecutionServiceError> runError;
    std::optional<ExecutionServiceError> installError;
    std::shared_ptr<QStringList> sharedLog; // interleaves with the crontab client's calls

    QCoro::Task<std::expected<void, ExecutionServiceError>> installRunner() override
    {
        note(QStringLiteral("installRunner"));
        co_await installGate.pass();
        if (installError)
            co_return std::unexpected(*installError);
        co_return {};
    }
    QCoro::Task<> prepareMonitoring(QList<QUuid> jobIds) override
    {
        note(QStringLiteral("prepareMonitoring"));
        preparedIds = jobIds;
        co_return;
    }
    QCoro::Task<QMap<QUuid, JobExecutionSummary>> summaries(QList<QUuid> jobIds) override
    {
        note(QStringLiteral("summaries"));
        QMap<QUuid, JobExecutionSummary> result;
        for (const auto& id : jobIds) {
            if (summaryMap.contains(id))
                result.insert(id, summaryMap.value(id));
        }
        co_return result;
    }
    QCoro::Task<QList<JobExecutionRecord>> history(QUuid jobId) override
    {
        note(QStringLiteral("history"));
        co_return recordsOf.value(jobId, records);
    }
    QCoro::Task<std::expected<void, ExecutionServiceError>>
    runNow(CronJob, QList<EnvironmentAssignment> crontabAssignments) override
    {
        note(QStringLiteral("runNow"));
        lastRunAssignments = crontabAssignments;
        co_await runGate.pass();
        if (runError)
            co_return std::unexpected(*runError);
        co_return {};
    }
    QCoro::Task<> clearHistory(QUuid jobId) override
    {
        note(QStringLiteral("clearHistory"));
        summaryMap.remove(jobId);
        co_return;
    }

private:
    void note(const QString& call)
    {
        calls.append(call);
        if (sharedLog)
            sharedLog->append(call);
    }
};

} // namespace Tempolane
