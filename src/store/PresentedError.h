#pragma once

#include <QString>
#include <QUuid>

namespace Tempolane {

// The error alert currently shown. A fresh id per presentation makes the same texts shown
// twice count as a new error.
struct PresentedError
{
    QUuid id;
    QString title;
    QString message;

    static PresentedError make(QString title, QString message)
    {
        return {QUuid::createUuid(), std::move(title), std::move(message)};
    }

    friend bool operator==(const PresentedError&, const PresentedError&) = default;
};

} // namespace Tempolane
