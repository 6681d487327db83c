// The session bus asked with a time limit, against a real bus and against sockets that accept
// and then misbehave.
#include "HostileServer.h"
#include "PrivateSessionBus.h"
#include "SessionBus.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(SessionBus::Verdict)
Q_DECLARE_METATYPE(HostileServer::Manner)

class SessionBusTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void busIsAskedWithinTheLimit_data()
    {
        // "{socket}" and "{port}" stand for the hostile server's place; "{bus}" for a real bus.
        QTest::addColumn<QString>("address");
        QTest::addColumn<HostileServer::Manner>("manner");
        QTest::addColumn<SessionBus::Verdict>("verdict");

        const auto silent = HostileServer::Manner::silent;
        QTest::newRow("a real bus answers") << "{bus}" << silent << SessionBus::Verdict::answers;
        QTest::newRow("a socket that accepts and never answers")
            << "unix:path={socket}" << silent << SessionBus::Verdict::silent;
        QTest::newRow("an abstract socket that accepts and never answers")
            << "unix:abstract={socket}" << silent << SessionBus::Verdict::silent;
        QTest::newRow("a port that accepts and never answers")
            << "tcp:host=127.0.0.1,port={port}" << silent << SessionBus::Verdict::silent;
        QTest::newRow("a socket that accepts and closes")
            << "unix:path={socket}" << HostileServer::Manner::closes << SessionBus::Verdict::silent;
        QTest::newRow("a socket that answers bytes that are no bus")
            << "unix:path={socket}" << HostileServer::Manner::sends << SessionBus::Verdict::silent;
        QTest::newRow("nothing at the path, then a real bus")
            << "unix:path=/nonexistent/bus;{bus}" << silent << SessionBus::Verdict::answers;
        QTest::newRow("nothing at the path")
            << "unix:path=/nonexistent/bus" << silent << SessionBus::Verdict::absent;
        QTest::newRow("no address") << QString() << silent << SessionBus::Verdict::absent;
        QTest::newRow("an address of a kind left to Qt")
            << "autolaunch:" << silent << SessionBus::Verdict::untried;
    }

    void busIsAskedWithinTheLimit()
    {
        QFETCH(QString, address);
        QFETCH(HostileServer::Manner, manner);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("bus"));
        const bool isAbstract = address.startsWith(u"unix:abstract");
        HostileServer local(manner, path, isAbstract);
        HostileServer network(manner);
        QVERIFY(local.isListening() && network.isListening());
        PrivateSessionBus bus;
        if (address.contains(u"{bus}") && !bus.isValid())
            QSKIP("dbus-daemon is not installed (scripts/install-deps)");

        QProcessEnvironment environment;
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           folder.filePath(QStringLiteral("run")));
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QString(address)
                               .replace(u"{socket}"_qs, path)
                               .replace(u"{port}"_qs, QString::number(network.port()))
                               .replace(u"{bus}"_qs, bus.address()));
        QElapsedTimer asking;
        asking.start();
        QTEST(SessionBus::ask(environment, 1500ms), "verdict");
        // Not a speed target: a silent bus must not be waited for longer than the limit.
        QVERIFY2(asking.elapsed() < 4000, qPrintable(QString::number(asking.elapsed())));
    }
};

QTEST_GUILESS_MAIN(SessionBusTest)
#include "tst_SessionBus.moc"
