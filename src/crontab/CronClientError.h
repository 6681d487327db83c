#pragma once

#include "CronSystemError.h"

#include <QString>
#include <variant>

namespace Tempolane {

// The crontab tool could not be started or talked to; the message is the system's own.
struct CronProcessError
{
    enum class Kind
    {
        launchFailed,
        writeFailed,
        readFailed
    };

    Kind kind = Kind::launchFailed;
    QString message;

    // What was being done, then the system's own text.
    QString description() const;
    // Tempolane's sentence alone, and the system's words.
    QString summary() const;
    QString details() const { return message; }

    friend bool operator==(const CronProcessError&, const CronProcessError&) = default;
};

// Every way reading or writing the crontab through a client can fail.
class CronClientError final
{
public:
    CronClientError(CronSystemError error) : m_error(std::move(error)) {}
    CronClientError(CronProcessError error) : m_error(std::move(error)) {}

    const CronSystemError* systemError() const { return std::get_if<CronSystemError>(&m_error); }
    const CronProcessError* processError() const { return std::get_if<CronProcessError>(&m_error); }

    QString description() const;
    QString summary() const;
    QString details() const;

    friend bool operator==(const CronClientError&, const CronClientError&) = default;

private:
    std::variant<CronSystemError, CronProcessError> m_error;
};

} // namespace Tempolane
