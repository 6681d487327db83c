#include "OpenableLink.h"

#include <QHostAddress>

namespace Tempolane {

namespace {

bool isLoopback(const QString& host)
{
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

} // namespace

bool isOpenableLink(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    if (url.scheme() == u"https")
        return true;
    return url.scheme() == u"http" && isLoopback(url.host());
}

} // namespace Tempolane
