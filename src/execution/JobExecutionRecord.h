#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace Tempolane {

// One run of a job, identified by its run identifier (start seconds, hyphen, runner pid).
struct JobExecutionRecord
{
    QString id;
    QDateTime startedAt;
    std::optional<QDateTime> endedAt;
    std::optional<qint32> exitCode;
    std::optional<QString> output;
    bool isRunning = false;

    friend bool operator==(const JobExecutionRecord&, const JobExecutionRecord&) = default;
};

} // namespace Tempolane
