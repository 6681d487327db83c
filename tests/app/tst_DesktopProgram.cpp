// The desktop program where no window can be shown: help, version and a clear sentence instead
// of Qt's abort; the background watcher where no session bus can be reached.
#include <QProcess>
#include <QTest>

class DesktopProgramTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutADisplay_answersInTheTerminal_data();
    void withoutADisplay_answersInTheTerminal();
};

void DesktopProgramTest::withoutADisplay_answersInTheTerminal_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expectedOut");
    QTest::addColumn<QString>("expectedErr");

    QTest::newRow("no arguments") << QStringList() << 1 << QString()
                                  << "im Terminal hilft das Programm tempolane-cli weiter.";
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << "-v, --version"
                          << QString();
    QTest::newRow("version") << QStringList{QStringLiteral("-v")} << 0
                             << "tempolane " TEMPOLANE_VERSION "\n"
                             << QString();
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("--fenster")} << 2 << QString() << "tempolane --help";
    QTest::newRow("stray argument")
        << QStringList{QStringLiteral("crontab")} << 2 << QString() << "crontab";
    QTest::newRow("job that is no id")
        << QStringList{QStringLiteral("--job"), QStringLiteral("../etc")} << 2 << QString()
        << "Keine gültige Cronjob-ID: ../etc";
    QTest::newRow("watcher without a session bus")
        << QStringList{QStringLiteral("--background")} << 1 << QString()
        << "keine D-Bus-Sitzung erreichbar";
}

void DesktopProgramTest::withoutADisplay_answersInTheTerminal()
{
    QFETCH(QStringList, arguments);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=/nonexistent/tempolane-test-bus"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TEMPOLANE_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(30'000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QTEST(program.exitCode(), "exitCode");
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QFETCH(QString, expectedOut);
    QFETCH(QString, expectedErr);
    QVERIFY2(out.contains(expectedOut), qPrintable(out));
    QVERIFY2(err.contains(expectedErr), qPrintable(err));
    // Nothing but the one sentence: no abort of Qt's windowing, no second complaint.
    if (program.exitCode() == 1)
        QCOMPARE(err.count(u'\n'), 1);
}

QTEST_GUILESS_MAIN(DesktopProgramTest)
#include "tst_DesktopProgram.moc"
