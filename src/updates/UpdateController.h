#pragma once

#include "AppVersion.h"
#include "UpdateCheckOutcome.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QProcessEnvironment>
#include <QThreadPool>
#include <QTimer>
#include <chrono>

namespace Tempolane {

// Checks an update feed on request and reports what it offers. It only tells: downloading
// and installing are the package manager's business. One check runs at a time.
class UpdateController final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
    Q_PROPERTY(bool isChecking READ isChecking NOTIFY isCheckingChanged)

public:
    static constexpr std::chrono::milliseconds defaultTimeLimit = std::chrono::seconds(15);
    // A feed lists a few releases; anything much larger is not one.
    static constexpr qint64 maximumFeedSize = 1024 * 1024;

    // TEMPOLANE_UPDATE_FEED_URL when it is set, else the address the build was configured
    // with; empty when there is neither.
    static QUrl
    feedAddress(const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    static QString builtInFeedAddress();

    UpdateController(QUrl feed, AppVersion installed,
                     std::chrono::milliseconds timeLimit = defaultTimeLimit,
                     QObject* parent = nullptr);
    ~UpdateController() override;
    Q_DISABLE_COPY_MOVE(UpdateController)

    // A feed is known and no check is running.
    bool canCheckForUpdates() const { return !m_feed.isEmpty() && !m_reply; }
    bool isChecking() const { return !m_reply.isNull(); }
    const AppVersion& installedVersion() const { return m_installed; }

    // Starts a check when one can start; checkFinished reports its outcome.
    void checkForUpdates();

Q_SIGNALS:
    void canCheckForUpdatesChanged(bool canCheckForUpdates);
    void isCheckingChanged(bool isChecking);
    void checkFinished(const Tempolane::UpdateCheckOutcome& outcome);

private:
    void readFeed();
    void finish(const UpdateCheckOutcome& outcome);

    QUrl m_feed;
    AppVersion m_installed;
    QNetworkAccessManager m_network;
    QTimer m_timeLimit;
    // The running check's reply, kept while its feed is read.
    QPointer<QNetworkReply> m_reply;
    // Counts the checks started, so that a late outcome finds its check gone.
    quint64 m_check = 0;
    QThreadPool m_reading;
};

} // namespace Tempolane
