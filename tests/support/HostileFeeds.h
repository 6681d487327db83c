#pragma once

#include <QByteArray>

namespace Tempolane::Testing {

// An appcast that declares one entity of `entityLength` characters and refers to it
// `references` times inside an item's title: small on the wire, gigabytes once expanded. With
// 4,000 and 190,000 it is about 950 KB, under the feed's size limit.
inline QByteArray entityExpansionFeed(int entityLength, int references)
{
    QByteArray feed = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<!DOCTYPE rss [<!ENTITY lol \"" +
                      QByteArray(entityLength, 'x') +
                      "\">]>\n<rss version=\"2.0\" "
                      "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
                      "<channel><item><title>";
    feed.reserve(feed.size() + references * 5 + 200);
    for (int i = 0; i < references; ++i)
        feed += "&lol;";
    return feed + "</title><sparkle:version>2.1</sparkle:version></item></channel></rss>";
}

} // namespace Tempolane::Testing
