#include "Appcast.h"
#include "DataTable.h"
#include "FeedServer.h"
#include "HostileFeeds.h"
#include "UpdateController.h"

#include <QSignalSpy>
#include <QTest>

using namespace Tempolane;
using namespace std::chrono_literals;
using Testing::entityExpansionFeed;
using Testing::FeedServer;

namespace {

const AppVersion installed{QStringLiteral("2.0"), QStringLiteral("40")};

QByteArray item(const QByteArray& fields)
{
    return "<item><title>Tempolane</title>" + fields + "</item>";
}

QByteArray release(const QByteArray& shortVersion, const QByteArray& build = "100",
                   const QByteArray& link = "https://example.org/release")
{
    return item("<link>" + link + "</link><sparkle:version>" + build +
                "</sparkle:version><sparkle:shortVersionString>" + shortVersion +
                "</sparkle:shortVersionString>");
}

QByteArray appcast(const QByteArray& items)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
           "<channel><title>Tempolane</title>" +
           items + "</channel></rss>";
}

// One line per outcome, so a table can say what it expects: "available 2.1 <link>",
// "up to date", or "failed: <message>", followed by " | <detail>" when there is one.
QString described(const UpdateCheckOutcome& outcome)
{
    if (const auto* offer = std::get_if<UpdateAvailable>(&outcome))
        return QStringLiteral("available %1 %2")
            .arg(offer->version, offer->downloadPage.toString());
    if (std::holds_alternative<UpToDate>(outcome))
        return QStringLiteral("up to date");
    const auto& failure = std::get<UpdateCheckFailed>(outcome);
    if (failure.detail.isEmpty())
        return QStringLiteral("failed: ") + failure.message;
    return QStringLiteral("failed: %1 | %2").arg(failure.message, failure.detail);
}

} // namespace

class UpdateCheckTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionLine_fallsBackWhereTheBuildSaidNothing();
    void feedAddress_environmentOverridesTheBuild();
    void feed_offersTheNewestReleaseForLinux_data();
    void feed_offersTheNewestReleaseForLinux();
    void check_reportsWhatTheServerAnswers_data();
    void check_reportsWhatTheServerAnswers();
    void canCheck_needsAFeedAndNoCheckRunning();
};

void UpdateCheckTest::versionLine_fallsBackWhereTheBuildSaidNothing()
{
    QCOMPARE((AppVersion{u"2.3"_qs, u"57"_qs}.line()), u"Version 2.3 (57)"_qs);
    QCOMPARE((AppVersion{}.line()), u"Version 1.0 (1)"_qs);
    QCOMPARE((AppVersion{u"0.4.1"_qs, u" "_qs}.line()), u"Version 0.4.1 (1)"_qs);
}

void UpdateCheckTest::feedAddress_environmentOverridesTheBuild()
{
    QProcessEnvironment environment;
    const QUrl builtIn(UpdateController::builtInFeedAddress());
    QCOMPARE(UpdateController::feedAddress(environment), builtIn);
    environment.insert(QStringLiteral("TEMPOLANE_UPDATE_FEED_URL"), QStringLiteral("  "));
    QCOMPARE(UpdateController::feedAddress(environment), builtIn);
    environment.insert(QStringLiteral("TEMPOLANE_UPDATE_FEED_URL"),
                       QStringLiteral("https://mirror.example.org/appcast.xml "));
    QCOMPARE(UpdateController::feedAddress(environment),
             QUrl(QStringLiteral("https://mirror.example.org/appcast.xml")));
}

void UpdateCheckTest::feed_offersTheNewestReleaseForLinux_data()
{
    QTest::addColumn<QByteArray>("feed");
    QTest::addColumn<AppVersion>("installedVersion");
    QTest::addColumn<QString>("expected");

    for (const QStringList& row : Testing::dataTable(QStringLiteral("update-feeds.tsv"), 4))
        QTest::newRow(qPrintable(row[0]))
            << appcast(row[3].toUtf8()) << AppVersion{installed.shortVersion, row[1]} << row[2];
    // Feeds that declare a document type, made rather than written out.
    const QString declaresType = QStringLiteral(
        "failed: Der Update-Feed enthält eine Dokumenttypdeklaration und wird deshalb nicht "
        "gelesen.");
    QTest::newRow("entity expansion")
        << entityExpansionFeed(4000, 2'000) << installed << declaresType;
    QTest::newRow("harmless document type also refused")
        << appcast(release("2.1")).replace("\n<rss", "\n<!DOCTYPE rss>\n<rss") << installed
        << declaresType;
}

void UpdateCheckTest::feed_offersTheNewestReleaseForLinux()
{
    QFETCH(QByteArray, feed);
    QFETCH(AppVersion, installedVersion);
    QFETCH(QString, expected);
    QCOMPARE(described(outcomeOfFeed(feed, installedVersion)), expected);
}

void UpdateCheckTest::check_reportsWhatTheServerAnswers_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<FeedServer::Response>("response");
    QTest::addColumn<QString>("expected");

    const QByteArray tooLarge = appcast(QByteArray(UpdateController::maximumFeedSize, ' '));
    const QString notHttps = QStringLiteral(
        "failed: Der Update-Server leitet auf eine Adresse um, die nicht über HTTPS erreichbar "
        "ist.");
    // What a feed offers is the feed table's; here what reaches it, and what does not.
    QTest::newRow("newer") << "/appcast.xml" << FeedServer::Response{200, appcast(release("2.1"))}
                           << "available 2.1 https://example.org/release";
    QTest::newRow("malformed")
        << "/appcast.xml" << FeedServer::Response{200, appcast(release("2.1")).chopped(9)}
        << "failed: Der Update-Feed ist nicht lesbar. | Premature end of document.";
    // The network's own words only as the detail.
    QTest::newRow("not found")
        << "/missing.xml" << FeedServer::Response{}
        << "failed: Der Update-Server hat mit dem HTTP-Status 404 geantwortet. | Error "
           "transferring";
    QTest::newRow("server error")
        << "/appcast.xml" << FeedServer::Response{500, "kaputt"}
        << "failed: Der Update-Server hat mit dem HTTP-Status 500 geantwortet. | ";
    QTest::newRow("too large") << "/appcast.xml" << FeedServer::Response{200, tooLarge}
                               << "failed: Der Update-Feed ist zu groß.";
    QTest::newRow("silent server")
        << "/appcast.xml" << FeedServer::Response{200, {}, true}
        << "failed: Der Update-Server hat nicht rechtzeitig geantwortet.";
    QTest::newRow("refused") << "" << FeedServer::Response{}
                             << "failed: Keine Verbindung zum Update-Server. Prüfe die "
                                "Internetverbindung. | Connection refused";
    QTest::newRow("plain http elsewhere")
        << "http://example.org/appcast.xml" << FeedServer::Response{}
        << "failed: Die Adresse des Update-Feeds ist ungültig oder nicht über HTTPS erreichbar.";
    QTest::newRow("redirect on this computer followed")
        << "/moved.xml" << FeedServer::Response{200, appcast(release("2.1"))}
        << "available 2.1 https://example.org/release";
    QTest::newRow("redirect to plain http elsewhere refused")
        << "/to-plain-http.xml" << FeedServer::Response{200, appcast(release("2.1"))} << notHttps;
    QTest::newRow("redirect to plain http elsewhere after a hop refused")
        << "/hop.xml" << FeedServer::Response{200, appcast(release("2.1"))} << notHttps;
    // Followed: the name cannot be found, which only a followed redirect asks.
    QTest::newRow("redirect to https elsewhere followed")
        << "/to-https.xml" << FeedServer::Response{200, appcast(release("2.1"))}
        << "failed: Der Update-Server wurde nicht gefunden. Prüfe die Internetverbindung. | "
           "Host updates.invalid not found";
}

void UpdateCheckTest::check_reportsWhatTheServerAnswers()
{
    QFETCH(QString, path);
    QFETCH(FeedServer::Response, response);
    QFETCH(QString, expected);

    FeedServer server;
    server.route(QStringLiteral("/appcast.xml"), response);
    server.redirect(QStringLiteral("/moved.xml"), "/appcast.xml");
    server.redirect(QStringLiteral("/to-plain-http.xml"), "http://updates.invalid/appcast.xml");
    server.redirect(QStringLiteral("/hop.xml"), "/to-plain-http.xml");
    server.redirect(QStringLiteral("/to-https.xml"), "https://updates.invalid/appcast.xml");
    QUrl feed = FeedServer::refusedUrl();
    if (path.startsWith(u'/'))
        feed = server.url(path);
    else if (!path.isEmpty())
        feed = QUrl(path);
    // Only the silent server should run into the limit, however busy the machine is.
    UpdateController controller(feed, installed, response.isSilent ? 300ms : 20000ms);
    QSignalSpy finished(&controller, &UpdateController::checkFinished);

    controller.checkForUpdates();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
    const QString outcome = described(finished.front().front().value<UpdateCheckOutcome>());
    QVERIFY2(outcome.contains(expected), qPrintable(outcome));
    QVERIFY(controller.canCheckForUpdates());
}

void UpdateCheckTest::canCheck_needsAFeedAndNoCheckRunning()
{
    UpdateController withoutFeed(QUrl(), installed);
    QSignalSpy nothing(&withoutFeed, &UpdateController::checkFinished);
    QVERIFY(!withoutFeed.canCheckForUpdates());
    withoutFeed.checkForUpdates();
    QCOMPARE(nothing.size(), 0);

    FeedServer server;
    server.route(QStringLiteral("/appcast.xml"), {200, {}, true});
    UpdateController controller(server.url(QStringLiteral("/appcast.xml")), installed, 300ms);
    QSignalSpy changes(&controller, &UpdateController::canCheckForUpdatesChanged);
    QSignalSpy finished(&controller, &UpdateController::checkFinished);
    QVERIFY(controller.canCheckForUpdates());
    controller.checkForUpdates();
    QVERIFY(!controller.canCheckForUpdates());
    controller.checkForUpdates();
    QVERIFY(finished.wait(5000));
    QTRY_COMPARE(server.requestCount(), 1);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes.at(0).front().toBool(), false);
    QCOMPARE(changes.at(1).front().toBool(), true);
    QVERIFY(controller.canCheckForUpdates());
}

QTEST_GUILESS_MAIN(UpdateCheckTest)
#include "tst_UpdateCheck.moc"
