#pragma once

#include <QString>
#include <QUrl>
#include <variant>

namespace Tempolane {

struct UpdateAvailable
{
    // As the feed shows it ("2.3").
    QString version;
    // The release's page; empty when the feed gave none that may be opened.
    QUrl downloadPage;

    friend bool operator==(const UpdateAvailable&, const UpdateAvailable&) = default;
};

struct UpToDate
{
    friend bool operator==(const UpToDate&, const UpToDate&) = default;
};

struct UpdateCheckFailed
{
    // What went wrong, in German.
    QString message;
    // The network's or the XML reader's own text, for a closer look; may be empty.
    QString detail = {};

    friend bool operator==(const UpdateCheckFailed&, const UpdateCheckFailed&) = default;
};

using UpdateCheckOutcome = std::variant<UpdateAvailable, UpToDate, UpdateCheckFailed>;

} // namespace Tempolane
