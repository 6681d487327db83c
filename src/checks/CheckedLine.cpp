#include "CheckedLine.h"

#include "CrontabText.h"

namespace Tempolane {

std::optional<QUuid> CheckedLine::jobId() const
{
    if (!job)
        return std::nullopt;
    return job->id;
}

QString CheckedLine::name() const
{
    if (job) {
        const auto trimmed = CrontabText::trimmedBlanksAndLineBreaks(job->name);
        if (!trimmed.isEmpty())
            return trimmed.toString();
    }
    return CronJob::fallbackName(command);
}

} // namespace Tempolane
