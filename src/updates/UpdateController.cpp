#include "UpdateController.h"

#include "Appcast.h"
#include "NetworkFailure.h"
#include "OpenableLink.h"

#include <QNetworkReply>
#include <QtConcurrent/QtConcurrentRun>

namespace Tempolane {

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
    m_reading.setMaxThreadCount(1);
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
    if (!isFeedAddress(m_feed)) {
        Q_EMIT checkFinished(
            UpdateCheckFailed{tr("Die Adresse des Update-Feeds ist ungültig oder nicht über HTTPS "
                                 "erreichbar.")});
        return;
    }
    QNetworkRequest request(m_feed);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Tempolane/%1").arg(m_installed.displayedShortVersion()));
    // Every redirect is weighed by the rule the feed's own address passed.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    m_reply = m_network.get(request);
    ++m_check;
    connect(m_reply, &QNetworkReply::redirected, this, [this](const QUrl& target) {
        if (mayRedirect(m_reply->url(), m_reply->url().resolved(target)))
            Q_EMIT m_reply->redirectAllowed();
        else
            finish(UpdateCheckFailed{tr("Der Update-Server leitet auf eine Adresse um, die nicht "
                                        "über HTTPS erreichbar ist.")});
    });
    connect(m_reply, &QNetworkReply::finished, this, &UpdateController::readFeed);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (std::max(received, total) > maximumFeedSize)
            finish(UpdateCheckFailed{tr("Der Update-Feed ist zu groß.")});
    });
    m_timeLimit.start();
    Q_EMIT canCheckForUpdatesChanged(false);
    Q_EMIT isCheckingChanged(true);
}

void UpdateController::readFeed()
{
    if (m_reply->error() != QNetworkReply::NoError) {
        finish(networkFailure(m_reply->error(),
                              m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                              m_reply->errorString()));
        return;
    }
    // Read away from the window's thread; the time limit keeps running meanwhile, and an
    // outcome that comes after the check has ended is dropped.
    QtConcurrent::run(&m_reading, outcomeOfFeed, m_reply->readAll(), m_installed)
        .then(this, [this, check = m_check](const UpdateCheckOutcome& outcome) {
            if (m_reply && check == m_check)
                finish(outcome);
        });
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
    Q_EMIT isCheckingChanged(false);
    Q_EMIT checkFinished(outcome);
}

} // namespace Tempolane
