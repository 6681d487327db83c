#include "NetworkFailure.h"

#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(NetworkFailure)

namespace Tempolane {

namespace {

QString message(QNetworkReply::NetworkError error, int httpStatus)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return tr("Der Update-Server wurde nicht gefunden. Prüfe die Internetverbindung.");
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
    case QNetworkReply::UnknownNetworkError:
        return tr("Keine Verbindung zum Update-Server. Prüfe die Internetverbindung.");
    case QNetworkReply::TimeoutError:
        return tr("Der Update-Server hat nicht rechtzeitig geantwortet.");
    case QNetworkReply::SslHandshakeFailedError:
        return tr("Die sichere Verbindung zum Update-Server ist fehlgeschlagen.");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return tr("Der Proxy-Server verhindert die Verbindung zum Update-Server.");
    default:
        break;
    }
    if (httpStatus > 0)
        return tr("Der Update-Server hat mit dem HTTP-Status %1 geantwortet.").arg(httpStatus);
    return tr("Der Update-Feed konnte nicht geladen werden.");
}

} // namespace

UpdateCheckFailed networkFailure(QNetworkReply::NetworkError error, int httpStatus,
                                 const QString& technicalText)
{
    return {message(error, httpStatus), technicalText};
}

} // namespace Tempolane
