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
    // The crontab changed outside: reading it again lets the user apply the change anew.
    bool offersReload = false;

    static PresentedError make(QString title, QString message, bool offersReload = false)
    {
        return {QUuid::createUuid(), std::move(title), std::move(message), offersReload};
    }

    friend bool operator==(const PresentedError&, const PresentedError&) = default;
};

} // namespace Tempolane
