#pragma once

#include "CronBackupError.h"
#include "CronClientError.h"

#include <variant>

namespace Tempolane {

// Why loading or saving the crontab failed.
class CronRepositoryError final
{
public:
    static CronRepositoryError concurrentModification()
    {
        return CronRepositoryError(ConcurrentModification{});
    }
    CronRepositoryError(CronClientError error) : m_error(std::move(error)) {}
    CronRepositoryError(CronBackupError error) : m_error(std::move(error)) {}

    bool isConcurrentModification() const
    {
        return std::holds_alternative<ConcurrentModification>(m_error);
    }
    const CronClientError* clientError() const { return std::get_if<CronClientError>(&m_error); }
    const CronBackupError* backupError() const { return std::get_if<CronBackupError>(&m_error); }

    QString description() const;
    // Tempolane's sentence alone, and the system's words (empty where it said nothing).
    QString summary() const;
    QString details() const;

    friend bool operator==(const CronRepositoryError&, const CronRepositoryError&) = default;

private:
    struct ConcurrentModification
    {
        friend bool operator==(ConcurrentModification, ConcurrentModification) = default;
    };

    explicit CronRepositoryError(ConcurrentModification tag) : m_error(tag) {}

    std::variant<ConcurrentModification, CronClientError, CronBackupError> m_error;
};

} // namespace Tempolane
