// Whether the desktop program finds a display it can reach before it lets Qt's windowing try:
// a real Xvfb that wants a cookie and resets when its last client leaves, and sockets that
// accept and then say nothing, close, or send bytes that are no display's answer.
#include "DisplayCheck.h"
#include "HostileServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <optional>

using namespace Tempolane;
using namespace Tempolane::Testing;
using namespace std::chrono_literals;

namespace {

// What a compositor answers to wl_display.sync: "done" on the callback object 2.
QByteArray waylandDone()
{
    QByteArray event(12, '\0');
    qToLittleEndian(quint32(2), event.data());
    qToLittleEndian(quint32(12) << 16, event.data() + 4);
    return event;
}

} // namespace

class DisplayCheckTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void window_opensOnlyWhereADisplayAnswers_data();
    void window_opensOnlyWhereADisplayAnswers();
    void xServer_doesNotResetBeforeTheHandOver();

private:
    QString xProperty(const QString& property) const;

    QTemporaryDir m_runtime;
    QProcess m_xvfb;
    QString m_display;
    QString m_cookies;
    std::unique_ptr<HostileServer> m_wayland;
    std::unique_ptr<HostileServer> m_silentWayland;
    std::unique_ptr<HostileServer> m_silentX;
    std::unique_ptr<HostileServer> m_closingX;
    std::unique_ptr<HostileServer> m_garblingX;
    QString m_deadNetworkX;
    // A client of the test's own: while it stays, the server never resets between rows, and a
    // connection that arrives during a reset is closed by the server.
    std::optional<DisplayCheck> m_keeper;
};

void DisplayCheckTest::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    m_wayland = std::make_unique<HostileServer>(HostileServer::Manner::sends,
                                                m_runtime.filePath(QStringLiteral("wayland-live")),
                                                false, waylandDone());
    m_silentWayland = std::make_unique<HostileServer>(
        HostileServer::Manner::silent, m_runtime.filePath(QStringLiteral("wayland-silent")));
    m_silentX = std::make_unique<HostileServer>(HostileServer::Manner::silent);
    m_closingX = std::make_unique<HostileServer>(HostileServer::Manner::closes);
    m_garblingX = std::make_unique<HostileServer>(HostileServer::Manner::sends);
    for (const auto* server : {m_wayland.get(), m_silentWayland.get(), m_silentX.get(),
                               m_closingX.get(), m_garblingX.get()})
        QVERIFY(server->isListening() && (server->port() == 0 || server->port() > 6000));

    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString xauth = QStandardPaths::findExecutable(QStringLiteral("xauth"));
    if (xvfb.isEmpty() || xauth.isEmpty())
        QSKIP("Xvfb or xauth is not installed (scripts/install-deps)");
    // The server wants the cookie, listens over TCP too, and resets when its last client
    // leaves, as Xvfb and xvfb-run do by default.
    m_cookies = m_runtime.filePath(QStringLiteral("cookies"));
    QFile cookies(m_cookies);
    QVERIFY(cookies.open(QIODevice::WriteOnly));
    cookies.close();
    // For the X clients the test starts itself.
    qputenv("XAUTHORITY", QFile::encodeName(m_cookies));
    m_xvfb.start(xvfb,
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-listen"),
                  QStringLiteral("tcp"), QStringLiteral("-auth"), m_cookies});
    QVERIFY(m_xvfb.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_xvfb.canReadLine(), 20000);
    m_display = u':' + QString::fromLatin1(m_xvfb.readLine()).trimmed();
    QCOMPARE(QProcess::execute(xauth, {QStringLiteral("-f"), m_cookies, QStringLiteral("add"),
                                       m_display, QStringLiteral("."),
                                       QStringLiteral("0123456789abcdef0123456789abcdef")}),
             0);
    // A port nobody listens on: one a server had and gave back.
    quint16 freed = 0;
    {
        HostileServer released(HostileServer::Manner::closes);
        freed = released.port();
    }
    m_deadNetworkX = QStringLiteral("127.0.0.1:%1").arg(freed - 6000);
    QProcessEnvironment keeperEnvironment;
    keeperEnvironment.insert(QStringLiteral("DISPLAY"), m_display);
    keeperEnvironment.insert(QStringLiteral("XAUTHORITY"), m_cookies);
    m_keeper.emplace(keeperEnvironment, QStringList{u"tempolane"_qs}, 10s);
    QVERIFY(m_keeper->holdsDisplay());
}

void DisplayCheckTest::cleanupTestCase()
{
    m_xvfb.terminate();
    m_xvfb.waitForFinished();
}

void DisplayCheckTest::window_opensOnlyWhereADisplayAnswers_data()
{
    // "NAME=value"; {x}, {tcp-x}, {dead-x}, {silent-x}, {closing-x}, {garbling-x} stand for
    // displays the test sets up. Every row has the cookie unless it names XAUTHORITY.
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QStringList>("arguments");
    // Empty when a window can open; else a part of the sentence printed instead.
    QTest::addColumn<QString>("refusal");

    const QString wayland = QStringLiteral("WAYLAND_DISPLAY=wayland-live");
    const QString deadWayland = QStringLiteral("WAYLAND_DISPLAY=wayland-absent");
    const QString unreachable = QStringLiteral("die Anzeige ist nicht erreichbar");
    QTest::newRow("nothing") << QStringList() << QStringList() << "weder DISPLAY noch";
    QTest::newRow("X on this computer")
        << QStringList{u"DISPLAY={x}"_qs} << QStringList() << QString();
    QTest::newRow("X on this computer, screen named")
        << QStringList{u"DISPLAY=unix{x}.0"_qs} << QStringList() << QString();
    QTest::newRow("X over TCP") << QStringList{u"DISPLAY={tcp-x}"_qs} << QStringList() << QString();
    QTest::newRow("X that wants a cookie the user lacks")
        << QStringList{u"DISPLAY={x}"_qs, u"XAUTHORITY=/nonexistent/cookies"_qs} << QStringList()
        << "die Anzeige weist es ab (DISPLAY=";
    QTest::newRow("X with nothing behind it")
        << QStringList{u"DISPLAY={dead-x}"_qs} << QStringList() << unreachable + " (DISPLAY=";
    QTest::newRow("X that accepts and never answers")
        << QStringList{u"DISPLAY={silent-x}"_qs} << QStringList() << unreachable;
    QTest::newRow("X that accepts and closes")
        << QStringList{u"DISPLAY={closing-x}"_qs} << QStringList() << unreachable;
    QTest::newRow("X that answers bytes that are no X reply")
        << QStringList{u"DISPLAY={garbling-x}"_qs} << QStringList() << unreachable;
    QTest::newRow("X display not a number")
        << QStringList{u"DISPLAY=:zero"_qs} << QStringList() << unreachable;
    QTest::newRow("X display with escapes shown escaped")
        << QStringList{u"DISPLAY=:1\x1b[2J"_qs} << QStringList() << "DISPLAY=:1\\x1b[2J)";
    QTest::newRow("Wayland") << QStringList{wayland} << QStringList() << QString();
    QTest::newRow("Wayland without a compositor")
        << QStringList{deadWayland} << QStringList()
        << unreachable + " (WAYLAND_DISPLAY=wayland-absent)";
    QTest::newRow("Wayland that accepts and never answers")
        << QStringList{u"WAYLAND_DISPLAY=wayland-silent"_qs} << QStringList()
        << unreachable + " (WAYLAND_DISPLAY=wayland-silent)";
    QTest::newRow("dead X, live Wayland")
        << QStringList{u"DISPLAY={dead-x}"_qs, wayland} << QStringList() << QString();
    QTest::newRow("offscreen named for Qt")
        << QStringList{u"QT_QPA_PLATFORM=offscreen"_qs, u"DISPLAY={dead-x}"_qs} << QStringList()
        << QString();
    QTest::newRow("X named for Qt, only Wayland answers")
        << QStringList{u"QT_QPA_PLATFORM=xcb"_qs, u"DISPLAY={dead-x}"_qs, wayland} << QStringList()
        << unreachable;
    QTest::newRow("X named with options")
        << QStringList{u"QT_QPA_PLATFORM=xcb:nograb"_qs, u"DISPLAY={x}"_qs} << QStringList()
        << QString();
    QTest::newRow("Wayland before X, only X answers")
        << QStringList{u"QT_QPA_PLATFORM=wayland;xcb"_qs, u"DISPLAY={x}"_qs, deadWayland}
        << QStringList() << QString();
    QTest::newRow("Wayland named, its default name absent")
        << QStringList{u"QT_QPA_PLATFORM=wayland-egl"_qs} << QStringList()
        << unreachable + " (WAYLAND_DISPLAY=wayland-0)";
    QTest::newRow("offscreen as argument over a dead X")
        << QStringList{u"QT_QPA_PLATFORM=xcb"_qs, u"DISPLAY={dead-x}"_qs}
        << QStringList{u"-platform"_qs, u"offscreen"_qs} << QString();
    QTest::newRow("X as argument over offscreen")
        << QStringList{u"QT_QPA_PLATFORM=offscreen"_qs, u"DISPLAY={dead-x}"_qs}
        << QStringList{u"--platform"_qs, u"xcb"_qs} << unreachable;
}

void DisplayCheckTest::window_opensOnlyWhereADisplayAnswers()
{
    QFETCH(QStringList, variables);
    QFETCH(QStringList, arguments);
    QFETCH(QString, refusal);

    const auto xAt = [](const HostileServer& server) {
        return QStringLiteral("127.0.0.1:%1").arg(server.port() - 6000);
    };
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(QStringLiteral("XAUTHORITY"), m_cookies);
    for (QString variable : variables) {
        variable.replace(u"{x}"_qs, m_display)
            .replace(u"{tcp-x}"_qs, QStringLiteral("127.0.0.1") + m_display)
            .replace(u"{dead-x}"_qs, m_deadNetworkX)
            .replace(u"{silent-x}"_qs, xAt(*m_silentX))
            .replace(u"{closing-x}"_qs, xAt(*m_closingX))
            .replace(u"{garbling-x}"_qs, xAt(*m_garblingX));
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    }
    QElapsedTimer checking;
    checking.start();
    const DisplayCheck check(environment, QStringList{u"tempolane"_qs} + arguments, 1500ms);
    // Not a speed target: a display that says nothing must not be waited for beyond the limit.
    QVERIFY2(checking.elapsed() < 4000, qPrintable(QString::number(checking.elapsed())));
    const auto& sentence = check.refusal();
    if (refusal.isEmpty()) {
        QVERIFY2(!sentence, qPrintable(sentence.value_or(QString())));
        return;
    }
    QVERIFY(sentence);
    QVERIFY2(sentence->contains(refusal), qPrintable(*sentence));
    QVERIFY(sentence->endsWith(u"im Terminal hilft das Programm tempolane-cli weiter."));
    QVERIFY(!check.holdsDisplay());
}

QString DisplayCheckTest::xProperty(const QString& property) const
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-display"), m_display, QStringLiteral("-root"), property});
    xprop.waitForFinished(10000);
    return QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
}

// A client that connects while the server resets after the check's connection left fails, and
// Qt aborts on that: the check keeps its connection until Qt has one.
void DisplayCheckTest::xServer_doesNotResetBeforeTheHandOver()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
        QSKIP("xprop is not installed (scripts/install-deps)");
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("XAUTHORITY"), m_cookies);
    DisplayCheck check(environment, {u"tempolane"_qs}, 1500ms);
    QVERIFY(!check.refusal());
    QVERIFY(check.holdsDisplay());
    m_keeper.reset();
    // A property of the root window lasts until the server resets.
    QProcess::execute(QStringLiteral("xprop"),
                      {QStringLiteral("-display"), m_display, QStringLiteral("-root"),
                       QStringLiteral("-f"), QStringLiteral("_TEMPOLANE_CHECK"),
                       QStringLiteral("8s"), QStringLiteral("-set"),
                       QStringLiteral("_TEMPOLANE_CHECK"), QStringLiteral("kept")});
    QCOMPARE(xProperty(QStringLiteral("_TEMPOLANE_CHECK")),
             QStringLiteral("_TEMPOLANE_CHECK(STRING) = \"kept\""));
    check.handOver();
    QVERIFY(!check.holdsDisplay());
    // With no client left, the server resets, and the property goes with it.
    QTRY_VERIFY(!xProperty(QStringLiteral("_TEMPOLANE_CHECK")).contains(u"kept"));
}

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "tst_DisplayCheck.moc"
