#include "Appcast.h"

#include "OpenableLink.h"

#include <QCoreApplication>
#include <QXmlStreamReader>
#include <algorithm>

namespace Tempolane {

namespace {

constexpr QLatin1StringView sparkleNamespace{"http://www.andymatuschak.org/xml-namespaces/sparkle"};

// The fields of an item as the feed spells them; Sparkle allows the version fields both as
// elements of the item and as attributes of its enclosure.
struct ItemFields
{
    QString version;
    QString shortVersion;
    QString os;
    QString link;

    void takeSparkleAttributes(const QXmlStreamAttributes& attributes)
    {
        const auto take = [&](QString& field, QLatin1StringView name) {
            const QStringView value = attributes.value(sparkleNamespace, name).trimmed();
            if (!value.isEmpty())
                field = value.toString();
        };
        take(version, QLatin1StringView("version"));
        take(shortVersion, QLatin1StringView("shortVersionString"));
        take(os, QLatin1StringView("os"));
    }
};

bool isSparkle(const QXmlStreamReader& reader, QStringView name)
{
    return reader.namespaceUri() == sparkleNamespace && reader.name() == name;
}

ItemFields readItem(QXmlStreamReader& reader)
{
    ItemFields fields;
    fields.takeSparkleAttributes(reader.attributes());
    while (reader.readNextStartElement()) {
        if (reader.namespaceUri().isEmpty() && reader.name() == u"link") {
            fields.link = reader.readElementText().trimmed();
        } else if (isSparkle(reader, u"version")) {
            fields.version = reader.readElementText().trimmed();
        } else if (isSparkle(reader, u"shortVersionString")) {
            fields.shortVersion = reader.readElementText().trimmed();
        } else {
            if (reader.name() == u"enclosure")
                fields.takeSparkleAttributes(reader.attributes());
            reader.skipCurrentElement();
        }
    }
    return fields;
}

std::optional<AppcastItem> itemForThisPlatform(const ItemFields& fields)
{
    if (!fields.os.isEmpty() && fields.os.compare(u"linux", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const bool hasShortVersion = !fields.shortVersion.isEmpty();
    // Only the number that is compared is ever shown: whatever the feed writes after it is
    // left behind, so a feed cannot put its own sentence in front of the user.
    const QVersionNumber version =
        QVersionNumber::fromString(hasShortVersion ? fields.shortVersion : fields.version);
    if (version.isNull())
        return std::nullopt;
    AppcastItem item;
    item.displayedVersion = version.toString();
    item.release = version.normalized();
    if (hasShortVersion)
        item.build = QVersionNumber::fromString(fields.version).normalized();
    const QUrl link(fields.link, QUrl::StrictMode);
    if (isOpenableLink(link))
        item.link = link;
    return item;
}

void readChannel(QXmlStreamReader& reader, QList<AppcastItem>& items)
{
    while (reader.readNextStartElement()) {
        if (reader.name() != u"item") {
            reader.skipCurrentElement();
            continue;
        }
        if (auto item = itemForThisPlatform(readItem(reader)))
            items.append(std::move(*item));
    }
}

UpdateCheckFailed unreadable(const QString& reason)
{
    return {QCoreApplication::translate("Appcast", "Der Update-Feed ist nicht lesbar."), reason};
}

// Release first; the build decides only within the same release and only when both sides
// know theirs, since a build without a number may be any build.
bool isNewer(const AppcastItem& item, const AppVersion& installed)
{
    const QVersionNumber release =
        QVersionNumber::fromString(installed.displayedShortVersion()).normalized();
    if (item.release != release)
        return item.release > release;
    const QVersionNumber build = QVersionNumber::fromString(installed.buildNumber).normalized();
    return !item.build.isNull() && !build.isNull() && item.build > build;
}

bool isOlder(const AppcastItem& left, const AppcastItem& right)
{
    return std::tie(left.release, left.build) < std::tie(right.release, right.build);
}

} // namespace

std::expected<QList<AppcastItem>, UpdateCheckFailed> parseAppcast(const QByteArray& feed)
{
    QXmlStreamReader reader(feed);
    QList<AppcastItem> items;
    // An appcast needs no document type declaration, and one can declare entities that expand
    // a small feed into gigabytes of text: a feed that has one is not read at all.
    while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::StartElement) {
        if (reader.tokenType() == QXmlStreamReader::DTD)
            return std::unexpected(UpdateCheckFailed{QCoreApplication::translate(
                "Appcast", "Der Update-Feed enthält eine Dokumenttypdeklaration und wird "
                           "deshalb nicht gelesen.")});
    }
    if (reader.tokenType() == QXmlStreamReader::StartElement) {
        if (reader.name() != u"rss")
            return std::unexpected(UpdateCheckFailed{
                QCoreApplication::translate("Appcast", "Der Update-Feed ist kein RSS-Dokument.")});
        while (reader.readNextStartElement()) {
            if (reader.name() == u"channel")
                readChannel(reader, items);
            else
                reader.skipCurrentElement();
        }
    }
    // Read to the end, so that anything broken after the last item is noticed too.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        return std::unexpected(unreadable(reader.errorString()));
    return items;
}

UpdateCheckOutcome outcomeOfFeed(const QByteArray& feed, const AppVersion& installed)
{
    const auto items = parseAppcast(feed);
    if (!items)
        return items.error();
    const auto newest = std::max_element(items->begin(), items->end(), isOlder);
    if (newest == items->end() || !isNewer(*newest, installed))
        return UpToDate{};
    return UpdateAvailable{newest->displayedVersion, newest->link};
}

} // namespace Tempolane
