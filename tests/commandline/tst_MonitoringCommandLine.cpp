#include "CanonicalUuid.h"
#include "MonitoringCommandLine.h"
#include "ShellQuoting.h"

#include <QProcess>
#include <QTest>

using namespace Tempolane;

namespace {

const QUuid jobId = QUuid::fromString(QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e"));

QString base64(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

// The runner under a data directory of the given name.
QString runnerIn(const QString& dataDirectory)
{
    return QStringLiteral("/home/ann/") + dataDirectory +
           QStringLiteral("/Tempolane/Runner/tempolane-runner");
}

const QString runner = runnerIn(QStringLiteral("Application Support"));

} // namespace

class MonitoringCommandLineTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wrappedCommand_unwrapsToWhatWentIn_data()
    {
        QTest::addColumn<QString>("dataDirectory");
        QTest::addColumn<QString>("command");
        QTest::addColumn<ExecutionLogPolicy>("policy");
        QTest::addColumn<bool>("recognised");

        QTest::newRow("plain command")
            << "data"
            << "/usr/bin/backup --all" << ExecutionLogPolicy::none << true;
        QTest::newRow("quotes, pipes and percent signs")
            << "data"
            << "echo \"it's\" | tr a b; date +\\%s" << ExecutionLogPolicy::messagesAndErrors
            << true;
        QTest::newRow("non-ASCII text and a byte order mark")
            << "data"
            << "\ufeffecho Grüße 🌍" << ExecutionLogPolicy::none << true;
        QTest::newRow("data directory with a space")
            << "Application Support"
            << "true" << ExecutionLogPolicy::errorsOnly << true;
        QTest::newRow("data directory with an apostrophe")
            << "Bob's data"
            << "true" << ExecutionLogPolicy::none << true;
        // Splitting at white space cannot see these inside the quoted path again.
        QTest::newRow("data directory with two blanks in a row")
            << "two  blanks"
            << "true" << ExecutionLogPolicy::none << false;
        QTest::newRow("data directory with a tab") << "tab\there"
                                                   << "true" << ExecutionLogPolicy::none << false;
    }

    void wrappedCommand_unwrapsToWhatWentIn()
    {
        QFETCH(QString, dataDirectory);
        QFETCH(QString, command);
        QFETCH(ExecutionLogPolicy, policy);
        QFETCH(bool, recognised);
        const QString quotedRunner = quotedPath(runnerIn(dataDirectory));

        const QString wrapped =
            MonitoringCommandLine::wrappedCommand(jobId, policy, command, quotedRunner);
        QVERIFY(!wrapped.contains(u'%'));
        const auto unwrapped = MonitoringCommandLine::unwrapCommand(wrapped, quotedRunner);
        QCOMPARE(unwrapped.has_value(), recognised);
        if (recognised)
            QCOMPARE(*unwrapped, (UnwrappedCommand{jobId, policy, command}));
    }

    void batteryKeyword_standsWhereCronReadsItAndIsReadFromEitherPlace()
    {
        const QString quotedRunner = quotedPath(runner);
        const QString command = QStringLiteral("@AppleNotOnBattery /bin/sync -f");
        const QString arguments = QStringLiteral(" 0f8fad5b-d9cb-469f-a165-70867728950e errors ");
        const QString inFront = QStringLiteral("@AppleNotOnBattery ") + quotedRunner + arguments +
                                base64("/bin/sync -f");
        const QString encoded = quotedRunner + arguments + base64(command.toUtf8());
        // Only macOS cron takes the keyword for itself; elsewhere cron runs it as a command.
        const QString written = MonitoringCommandLine::cronKnowsBatteryPrefix ? inFront : encoded;
        QCOMPARE(MonitoringCommandLine::wrappedCommand(jobId, ExecutionLogPolicy::errorsOnly,
                                                       command, quotedRunner),
                 written);
        for (const QString& line : {inFront, encoded}) {
            QCOMPARE(MonitoringCommandLine::unwrapCommand(line, quotedRunner),
                     (UnwrappedCommand{jobId, ExecutionLogPolicy::errorsOnly, command}));
        }
    }

    void quotedPath_readsBackAsTheSamePathInTheShell_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/home/ann/.local/share/Tempolane/Runner/tempolane-runner";
        QTest::newRow("space") << "/Users/ann/Library/Application Support/x";
        QTest::newRow("apostrophes") << "/home/o'brien/it''s/'";
        QTest::newRow("shell syntax stays literal") << "/tmp/$(rm -rf ~)/`id`/\"x\"/\\n/*";
    }

    void quotedPath_readsBackAsTheSamePathInTheShell()
    {
        QFETCH(QString, path);
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"), QStringLiteral("printf '%s' ") + quotedPath(path)});
        QVERIFY(shell.waitForFinished());
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), path);
    }

    void unwrapCommand_refusesWhatIsNoCallOfThisRunner_data()
    {
        QTest::addColumn<QString>("commandLine");
        const QString quotedRunner = quotedPath(runner);
        const QString id = canonicalText(jobId);
        const QString echo = base64("echo hi");

        QTest::newRow("ordinary command") << "/usr/bin/backup --all now please";
        QTest::newRow("three pieces") << id + " all " + echo;
        QTest::newRow("runner of another account")
            << quotedPath(
                   QStringLiteral("/home/other/.local/share/Tempolane/Runner/tempolane-runner")) +
                   u' ' + id + " all " + echo;
        QTest::newRow("unquoted runner path") << runner + u' ' + id + " all " + echo;
        QTest::newRow("runner path cut short")
            << quotedRunner.chopped(2) + "' " + id + " all " + echo;
        QTest::newRow("a word after the runner") << quotedRunner + " x " + id + " all " + echo;
        QTest::newRow("upper-case policy word") << quotedRunner + u' ' + id + " ALL " + echo;
        QTest::newRow("unknown policy word") << quotedRunner + u' ' + id + " some " + echo;
        QTest::newRow("braced identifier") << quotedRunner + " {" + id + "} all " + echo;
        QTest::newRow("identifier without hyphens")
            << quotedRunner + u' ' + jobId.toString(QUuid::Id128) + " all " + echo;
        QTest::newRow("Base64 of bytes that are not UTF-8")
            << quotedRunner + u' ' + id + " all " + base64("\xff\xfe\xfd");
        QTest::newRow("Base64 without padding") << quotedRunner + u' ' + id + " all ZWNobyBoaQ";
        QTest::newRow("Base64 with padding inside") << quotedRunner + u' ' + id + " all ZW==bybo";
        QTest::newRow("URL-safe Base64 alphabet")
            << quotedRunner + u' ' + id + " all " + base64("\xfb\xff").replace(u'/', u'_');
        QTest::newRow("battery keyword in the wrong place")
            << quotedRunner + " @AppleNotOnBattery " + id + " all " + echo;
    }

    void unwrapCommand_refusesWhatIsNoCallOfThisRunner()
    {
        QFETCH(QString, commandLine);
        QCOMPARE(MonitoringCommandLine::unwrapCommand(commandLine, quotedPath(runner)),
                 std::nullopt);
    }

    void unwrapCommand_toleratesSpacingBetweenArguments()
    {
        const QString line = quotedPath(runner) + QStringLiteral("  \t") +
                             canonicalText(jobId).toUpper() + QStringLiteral("\t\tnone   ") +
                             base64("echo hi") + QStringLiteral("  ");
        QCOMPARE(MonitoringCommandLine::unwrapCommand(line, quotedPath(runner)),
                 (UnwrappedCommand{jobId, ExecutionLogPolicy::none, QStringLiteral("echo hi")}));
    }

    void compatibilityIssue_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("hasIssue");
        QTest::newRow("bare percent sign") << "date +%s" << true;
        QTest::newRow("percent after two backslashes") << "date +\\\\%s" << true;
        QTest::newRow("percent after one backslash") << "date +\\%s" << false;
        QTest::newRow("percent after three backslashes") << "date +\\\\\\%s" << false;
        QTest::newRow("backslash earlier does not protect later percent") << "a\\b %" << true;
        QTest::newRow("battery keyword is checked too") << "@AppleNotOnBattery %" << true;
        QTest::newRow("no percent sign") << "echo hi" << false;
        QTest::newRow("empty command") << "" << false;
    }

    void compatibilityIssue()
    {
        QFETCH(QString, command);
        QFETCH(bool, hasIssue);
        const auto issue = MonitoringCommandLine::compatibilityIssue(command);
        QCOMPARE(issue.has_value(), hasIssue);
        if (issue) {
            QCOMPARE(*issue, QStringLiteral(
                                 "Dieser Befehl verwendet ein ungeschütztes Prozentzeichen. "
                                 "Deaktiviere den Ausführungsstatus oder schreibe \\% statt %."));
        }
    }
};

QTEST_GUILESS_MAIN(MonitoringCommandLineTest)
#include "tst_MonitoringCommandLine.moc"
