#pragma once

#include "AppVersion.h"
#include "UpdateCheckOutcome.h"

#include <QByteArray>
#include <QList>
#include <QVersionNumber>
#include <expected>

namespace Tempolane {

// One release in an update feed (an RSS item with Sparkle's version fields).
struct AppcastItem
{
    // The number read from sparkle:shortVersionString, or from sparkle:version when the item
    // has no short version ("2.3"); never the feed's text beyond it.
    QString displayedVersion;
    QVersionNumber release;
    // sparkle:version beside a short version: the build within the release; null otherwise.
    QVersionNumber build;
    // The item's link when it may be opened; empty otherwise.
    QUrl link;
};

// The items of the feed meant for this platform (no sparkle:os, or "linux") that carry a
// readable version; why not when the text is no readable RSS document or declares a document
// type.
std::expected<QList<AppcastItem>, UpdateCheckFailed> parseAppcast(const QByteArray& feed);

// What the feed offers to the installed version: the newest release newer than it, if any.
UpdateCheckOutcome outcomeOfFeed(const QByteArray& feed, const AppVersion& installed);

} // namespace Tempolane
