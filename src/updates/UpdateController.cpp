#include "UpdateController.h"

#include "Appcast.h"
#include "OpenableLink.h"

#include <QNetworkReply>

namespace Tempolane {

namespace {

UpdateCheckOutcome outcomeOfReply(QNetworkReply& reply, const AppVersion& installed)
{
    if (reply.error() != QNetworkReply::NoError)
        return UpdateCheckFailed{reply.errorString()};
    return outcomeOfFeed(reply.readAll(), installed);
}

} // namespace

QUrl UpdateController::feedAddress(const QProcessEnvironment& environment)
{
    const QString overridden =
        environment.value(QStringLiteral("TEMPOLANE_UPDATE_FEED_URL")).trimmed();
    return QUrl(overridden.isEmpty() ? builtInFeedAddress() : overridden, QUrl::StrictMode);
}

UpdateController::UpdateController(QUrl feed, AppVersion installed,
                                   std::chrono::milliseconds timeLimit, QObject* parent)
    : QObject(parent), m_feed(std::move(feed)), m_installed(std::move(installed))
{
    m_timeLimit.setSingleShot(true);
    m_timeLimit.setInterval(timeLimit);
    connect(&m_timeLimit, &QTimer::timeout, this, [this] {
        finish(UpdateCheckFailed{tr("Der Update-Server hat nicht rechtzeitig geantwortet.")});
    });
}

UpdateController::~UpdateController()
{
    // The manager deletes a running reply with it; nothing of this half-destroyed object may
    // hear of that.
    if (m_reply)
        m_reply->disconnect(this);
}

void UpdateController::checkForUpdates()
{
    if (!canCheckForUpdates())
        return;
    if (!isOpenableLink(m_feed)) {
        Q_EMIT checkFinished(
            UpdateCheckFailed{tr("Die Adresse des Update-Feeds ist ungültig oder nicht über HTTPS "
                                 "erreichbar.")});
        return;
    }
    QNetworkRequest request(m_feed);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Tempolane/%1").arg(m_installed.displayedShortVersion()));
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::finished, this,
            [this] { finish(outcomeOfReply(*m_reply, m_installed)); });
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (std::max(received, total) > maximumFeedSize)
            finish(UpdateCheckFailed{tr("Der Update-Feed ist zu groß.")});
    });
    m_timeLimit.start();
    Q_EMIT canCheckForUpdatesChanged(false);
}

void UpdateController::finish(const UpdateCheckOutcome& outcome)
{
    m_timeLimit.stop();
    QNetworkReply* reply = m_reply;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    m_reply = nullptr;
    Q_EMIT canCheckForUpdatesChanged(true);
    Q_EMIT checkFinished(outcome);
}

} // namespace Tempolane
