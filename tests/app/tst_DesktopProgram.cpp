// The desktop program where no window can be shown: help, version and a clear sentence instead
// of Qt's abort; the background watcher where no session bus can be reached.
#include "HostileServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using Tempolane::Testing::HostileServer;

class DesktopProgramTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutADisplay_answersInTheTerminal_data();
    void withoutADisplay_answersInTheTerminal();

private:
    QTemporaryDir m_folder;
    // A session bus that accepts and never answers.
    HostileServer m_silentBus{HostileServer::Manner::silent,
                              m_folder.filePath(QStringLiteral("silent-bus"))};
};

void DesktopProgramTest::withoutADisplay_answersInTheTerminal_data()
{
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expectedOut");
    QTest::addColumn<QString>("expectedErr");

    const QString terminal = QStringLiteral("im Terminal hilft das Programm tempolane-cli weiter.");
    QTest::newRow("no arguments") << QStringList() << QStringList() << 1 << QString()
                                  << "weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt; " + terminal;
    QTest::newRow("help") << QStringList() << QStringList{QStringLiteral("--help")} << 0
                          << "-v, --version" << QString();
    QTest::newRow("version") << QStringList() << QStringList{QStringLiteral("-v")} << 0
                             << "tempolane " TEMPOLANE_VERSION "\n"
                             << QString();
    QTest::newRow("unknown option") << QStringList() << QStringList{QStringLiteral("--fenster")}
                                    << 2 << QString() << "tempolane --help";
    QTest::newRow("stray argument")
        << QStringList() << QStringList{QStringLiteral("crontab")} << 2 << QString() << "crontab";
    // Shown raw, the escapes would retitle the terminal and clear it.
    QTest::newRow("stray argument with terminal escapes")
        << QStringList() << QStringList{QStringLiteral("a\x1b]0;owned\x07\x1b[2Jb")} << 2
        << QString() << "keine weiteren Argumente: a\\x1b]0;owned\\x07\\x1b[2Jb";
    QTest::newRow("unknown option with terminal escapes")
        << QStringList() << QStringList{QStringLiteral("--x\x1b[2J")} << 2 << QString()
        << "'x\\x1b[2J'";

    // Which displays answer is the display check's own table; here the program's sentence.
    const QString unreachable = QStringLiteral("die Anzeige ist nicht erreichbar");
    QTest::newRow("X display with nothing behind it")
        << QStringList{QStringLiteral("DISPLAY=:170")} << QStringList() << 1 << QString()
        << unreachable + " (DISPLAY=:170); " + terminal;
    QTest::newRow("both, neither answering")
        << QStringList{QStringLiteral("DISPLAY=:170"),
                       QStringLiteral("WAYLAND_DISPLAY=wayland-tempolane-absent"),
                       QStringLiteral("XDG_RUNTIME_DIR=/tmp")}
        << QStringList() << 1 << QString()
        << unreachable + " (DISPLAY=:170, WAYLAND_DISPLAY=wayland-tempolane-absent)";
    QTest::newRow("job that is no id")
        << QStringList() << QStringList{QStringLiteral("--job"), QStringLiteral("../etc")} << 2
        << QString() << "Keine gültige Cronjob-ID: ../etc";
    QTest::newRow("job that is no id, with terminal escapes")
        << QStringList()
        << QStringList{QStringLiteral("--job"), QStringLiteral("\x1b]0;owned\x07\x1b[2J")} << 2
        << QString() << "Keine gültige Cronjob-ID: \\x1b]0;owned\\x07\\x1b[2J";
    QTest::newRow("watcher without a session bus")
        << QStringList{QStringLiteral(
               "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/tempolane-test-bus")}
        << QStringList{QStringLiteral("--background")} << 1 << QString()
        << "keine D-Bus-Sitzung erreichbar";
    QTest::newRow("watcher with a session bus that never answers")
        << QStringList{QStringLiteral("DBUS_SESSION_BUS_ADDRESS=unix:path={silent-bus}")}
        << QStringList{QStringLiteral("--background")} << 1 << QString()
        << "keine D-Bus-Sitzung erreichbar";
}

void DesktopProgramTest::withoutADisplay_answersInTheTerminal()
{
    QFETCH(QStringList, variables);
    QFETCH(QStringList, arguments);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    for (const QString& variable : variables)
        environment.insert(
            variable.section(u'=', 0, 0),
            variable.section(u'=', 1).replace(u"{silent-bus}"_qs,
                                              m_folder.filePath(QStringLiteral("silent-bus"))));
    QVERIFY(m_silentBus.isListening());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TEMPOLANE_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(30'000));
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(program.exitStatus() == QProcess::NormalExit, qPrintable(err));
    QTEST(program.exitCode(), "exitCode");
    QFETCH(QString, expectedOut);
    QFETCH(QString, expectedErr);
    QVERIFY2(out.contains(expectedOut), qPrintable(out));
    QVERIFY2(err.contains(expectedErr), qPrintable(err));
    QVERIFY2(!err.contains(u'\x1b') && !err.contains(u'\x07'), qPrintable(err));
    // Nothing but the one sentence without a display: no abort of Qt's windowing.
    if (program.exitCode() == 1)
        QCOMPARE(err.count(u'\n'), 1);
}

QTEST_GUILESS_MAIN(DesktopProgramTest)
#include "tst_DesktopProgram.moc"
