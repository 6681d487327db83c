#include "OpenableLink.h"

#include <QHostAddress>

namespace Tempolane {

namespace {

bool isLoopback(const QString& host)
{
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

bool hasHost(const QUrl& url)
{
    return url.isValid() && !url.host().isEmpty();
}

bool isPlainHttpOnThisComputer(const QUrl& url)
{
    return hasHost(url) && url.scheme() == u"http" && isLoopback(url.host());
}

} // namespace

bool isOpenableLink(const QUrl& url)
{
    return hasHost(url) && url.scheme() == u"https";
}

bool isFeedAddress(const QUrl& url)
{
    return isOpenableLink(url) || isPlainHttpOnThisComputer(url);
}

bool mayRedirect(const QUrl& from, const QUrl& to)
{
    return isOpenableLink(to) ||
           (isPlainHttpOnThisComputer(to) && hasHost(from) && isLoopback(from.host()));
}

} // namespace Tempolane
