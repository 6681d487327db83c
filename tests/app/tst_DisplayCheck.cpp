// Whether the desktop program finds a display it can reach before it lets Qt's windowing try.
#include "DisplayCheck.h"

#include <QLocalServer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;
using namespace std::chrono_literals;

class DisplayCheckTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void window_opensOnlyWhereADisplayAnswers_data();
    void window_opensOnlyWhereADisplayAnswers();

private:
    QTemporaryDir m_runtime;
    QLocalServer m_wayland;
    QLocalServer m_localX;
    QTcpServer m_networkX;
    QString m_liveLocalX;
    QString m_liveNetworkX;
    QString m_deadNetworkX;
};

void DisplayCheckTest::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    QVERIFY(m_wayland.listen(m_runtime.filePath(QStringLiteral("wayland-live"))));
    // An X server of this computer listens in the abstract namespace under the socket's path.
    const int number = 4000 + int(QCoreApplication::applicationPid() % 20000);
    m_localX.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    QVERIFY(m_localX.listen(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)));
    m_liveLocalX = QStringLiteral(":%1").arg(number);
    QVERIFY(m_networkX.listen(QHostAddress::LocalHost));
    QVERIFY(m_networkX.serverPort() > 6000);
    m_liveNetworkX = QStringLiteral("127.0.0.1:%1.0").arg(m_networkX.serverPort() - 6000);
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    m_deadNetworkX = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort() - 6000);
}

void DisplayCheckTest::window_opensOnlyWhereADisplayAnswers_data()
{
    // "NAME=value"; {x}, {tcp-x} and {dead-x} stand for displays the test sets up.
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
        << QStringList{u"DISPLAY=unix{x}.1"_qs} << QStringList() << QString();
    QTest::newRow("X over TCP") << QStringList{u"DISPLAY={tcp-x}"_qs} << QStringList() << QString();
    QTest::newRow("X with nothing behind it")
        << QStringList{u"DISPLAY={dead-x}"_qs} << QStringList() << unreachable + " (DISPLAY=";
    QTest::newRow("X display not a number")
        << QStringList{u"DISPLAY=:zero"_qs} << QStringList() << unreachable;
    QTest::newRow("X display with escapes shown escaped")
        << QStringList{u"DISPLAY=:1\x1b[2J"_qs} << QStringList() << "DISPLAY=:1\\x1b[2J)";
    QTest::newRow("Wayland") << QStringList{wayland} << QStringList() << QString();
    QTest::newRow("Wayland without a compositor")
        << QStringList{deadWayland} << QStringList()
        << unreachable + " (WAYLAND_DISPLAY=wayland-absent)";
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

    QProcessEnvironment environment;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    for (QString variable : variables) {
        variable.replace(u"{x}"_qs, m_liveLocalX)
            .replace(u"{tcp-x}"_qs, m_liveNetworkX)
            .replace(u"{dead-x}"_qs, m_deadNetworkX);
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    }
    const auto sentence =
        whyNoWindowCanOpen(environment, QStringList{u"tempolane"_qs} + arguments, 2000ms);
    if (refusal.isEmpty()) {
        QVERIFY2(!sentence, qPrintable(sentence.value_or(QString())));
        return;
    }
    QVERIFY(sentence);
    QVERIFY2(sentence->contains(refusal), qPrintable(*sentence));
    QVERIFY(sentence->endsWith(u"im Terminal hilft das Programm tempolane-cli weiter."));
}

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "tst_DisplayCheck.moc"
