#pragma once

#include "CronJob.h"

#include <QList>
#include <QString>
#include <variant>

namespace Tempolane {

struct CronDocument
{
    // One line kept as it is, or one job with the marker lines that belong to it.
    class Node
    {
    public:
        static Node passthrough(QString text) { return Node(std::move(text)); }
        static Node job(CronJob job) { return Node(std::move(job)); }

        const QString* passthroughText() const { return std::get_if<QString>(&m_payload); }
        const CronJob* job() const { return std::get_if<CronJob>(&m_payload); }

        friend bool operator==(const Node&, const Node&) = default;

    private:
        explicit Node(std::variant<QString, CronJob> payload) : m_payload(std::move(payload)) {}
        std::variant<QString, CronJob> m_payload;
    };

    QList<Node> nodes;
    bool hasTrailingNewline = false;

    friend bool operator==(const CronDocument&, const CronDocument&) = default;

    // Monitored jobs are calls of the runner at `runnerPath` (DataLocations): reading
    // recognises them, writing wraps their commands.
    static CronDocument parse(const QString& text, const QString& runnerPath);
    QString serializedText(const QString& runnerPath) const;
    QList<CronJob> jobs() const;
    // Every job node with the job's id holds the given job instead.
    CronDocument replacingJob(const CronJob& job) const;
};

} // namespace Tempolane
