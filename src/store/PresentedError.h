#pragma once

#include <QString>
#include <QUuid>

namespace Tempolane {

// What an alert says of a failure: Tempolane's own German sentence, and behind it the words of
// the crontab tool, the file system or the process, which are often English.
struct ErrorText
{
    QString message;
    QString details;

    template <typename Error> static ErrorText of(const Error& error)
    {
        return {error.summary(), error.details()};
    }
};

// The error alert currently shown. A fresh id per presentation makes the same texts shown
// twice count as a new error.
struct PresentedError
{
    QUuid id;
    QString title;
    QString message;
    // Shown only on request, below the message.
    QString details;
    // The crontab changed outside: reading it again lets the user apply the change anew.
    bool offersReload = false;

    static PresentedError make(QString title, ErrorText text, bool offersReload = false)
    {
        return {QUuid::createUuid(), std::move(title), std::move(text.message),
                std::move(text.details), offersReload};
    }

    friend bool operator==(const PresentedError&, const PresentedError&) = default;
};

} // namespace Tempolane
