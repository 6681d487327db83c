#pragma once

#include "ExecutionLogPolicy.h"

#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace Tempolane {

// Everything about a job that the user edits, and so what tells a changed job from the job
// as it was read.
struct CronJobSettings
{
    QString name;
    QString scheduleExpression;
    QString command;
    bool isEnabled = true;
    bool isMonitoringEnabled = false;
    ExecutionLogPolicy logPolicy = ExecutionLogPolicy::messagesAndErrors;

    friend bool operator==(const CronJobSettings&, const CronJobSettings&) = default;
};

struct CronJob : CronJobSettings
{
    // In user-perceived characters.
    static constexpr qsizetype maximumNameLength = 80;

    // How the job looked when it was read, so that an unchanged job is written back byte
    // for byte.
    struct Original
    {
        CronJobSettings settings;
        QStringList rawMetadataLines;
        QString rawLine;

        friend bool operator==(const Original&, const Original&) = default;
    };

    QUuid id;
    std::optional<Original> original;

    friend bool operator==(const CronJob&, const CronJob&) = default;

    const CronJobSettings& settings() const { return *this; }

    // A job read from one crontab line and the marker lines directly above it; nothing when
    // the line is no job (comment, assignment, blank, unreadable schedule). The runner's quoted
    // path (quotedPath) is worked out once by the caller, who reads many lines.
    static std::optional<CronJob> parse(const QString& line, const QStringList& markerLines,
                                        QStringView quotedRunner);

    // Whether every field still holds what was read, so the read lines can be written back.
    bool isUnchanged() const;
    // A monitored job's command is wrapped in a call of the runner at `quotedRunner`.
    QStringList serializedLines(QStringView quotedRunner) const;
    // The same lines, appended: a whole document is written without a list per job.
    void appendSerializedLines(QStringList& lines, QStringView quotedRunner) const;

    // The name shown for a job without a name marker: the file name of its first word.
    static QString fallbackName(const QString& command);
};

namespace CronMarkers {
inline constexpr QStringView name = u"# Tempolane name: ";
inline constexpr QStringView id = u"# Tempolane id: ";
inline constexpr QStringView monitoring = u"# Tempolane monitoring: ";
inline constexpr QStringView disabled = u"# Tempolane disabled: ";

bool isMetadataLine(QStringView line);
} // namespace CronMarkers

} // namespace Tempolane
