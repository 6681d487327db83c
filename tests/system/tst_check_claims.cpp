// What each finding says cron will do, seen done by the real cron daemon: the lines are
// installed for the throwaway user, cron runs them in the same minute, and each leaves the
// trace the finding's message predicts.
#include "CrontabChecker.h"
#include "CrontabTool.h"
#include "DataLocations.h"
#include "LocalMachine.h"
#include "TestUserCrontab.h"
#include "ThrowawayUser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;

namespace {

struct Claim
{
    const char* name;
    // OUT stands for the folder the jobs write to.
    const char* line;
    // "id:severity" of the finding on the line.
    const char* finding;
    // The file the run leaves in OUT, and what it holds; nullptr where the run must leave none.
    const char* trace;
    const char* content;
};

const Claim claims[] = {
    {"percent: what follows the sign is the command's input, each further sign a line feed",
     "* * * * * >OUT/input.out /bin/cat %first%second", "percent:hint", "input.out",
     "first\nsecond\n"},
    {"percent: the command ends at the sign", "* * * * * >OUT/date.out /bin/date +%Y",
     "percent:warning", "date.out", "\n"},
    {"percent: the command ends at the sign even inside quotes",
     "* * * * * >OUT/quoted.out /bin/echo \"50%\"", "percent:error", "quoted.out", nullptr},
    {"line-ending: the shell looks for the script with the carriage return",
     "* * * * * 2>OUT/cr.err OUT/mark.sh\r", "line-ending:error", "cr.err",
     "/bin/sh: 1: OUT/mark.sh\r: not found\n"},
    {"command-not-found: cron's PATH lacks the folder the login shell finds it in",
     "* * * * * 2>OUT/path.err probe-tool", "command-not-found:error", "path.err",
     "/bin/sh: 1: probe-tool: not found\n"},
    {"not-executable: a script without its execute bit", "* * * * * 2>OUT/mode.err OUT/mode.sh",
     "not-executable:error", "mode.err", "/bin/sh: 1: OUT/mode.sh: Permission denied\n"},
    {"not-executable: a script that is not there", "* * * * * 2>OUT/gone.err OUT/gone.sh",
     "not-executable:error", "gone.err", "/bin/sh: 1: OUT/gone.sh: not found\n"},
    {"never-runs: a reversed minute range", "59-58 * * * * touch OUT/minute", "never-runs:error",
     "minute", nullptr},
    {"never-runs: a reversed month range", "* * * dec-nov * touch OUT/month", "never-runs:error",
     "month", nullptr},
    {"never-runs: a reversed weekday range", "* * * * sat-fri touch OUT/weekday",
     "never-runs:error", "weekday", nullptr},
};

// Each of those ranges read the other way round holds every value: if cron read them so, the
// lines would run now. This one runs in the same minute, to show that cron did run the crontab.
const char* const control = "* * * * * touch OUT/control";

bool writeFile(const QString& path, const QByteArray& content, QFile::Permissions permissions)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.setPermissions(permissions);
}

} // namespace

class CheckClaimsSystemTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_out.isValid());
        const QString out = m_out.path();
        const auto executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QVERIFY(writeFile(out + QStringLiteral("/mark.sh"),
                          "#!/bin/sh\ntouch '" + QFile::encodeName(out) + "/marked'\n",
                          executable));
        QVERIFY(writeFile(out + QStringLiteral("/mode.sh"), "#!/bin/sh\ntrue\n",
                          QFile::ReadOwner | QFile::WriteOwner));
        // In ~/bin, where a login shell of Debian looks and cron does not.
        QVERIFY(QDir().mkpath(QDir::homePath() + QStringLiteral("/bin")));
        m_tool = QDir::homePath() + QStringLiteral("/bin/probe-tool");
        QVERIFY(writeFile(m_tool, "#!/bin/sh\ntrue\n", executable));

        QString crontab = QStringLiteral("MAILTO=\"\"\n");
        for (const Claim& claim : claims)
            crontab += QString::fromUtf8(claim.line) + u'\n';
        crontab += QString::fromUtf8(control) + u'\n';
        crontab.replace(QStringLiteral("OUT"), out);

        Testing::waitUntilClearOfCronsMinuteScan();
        const auto failure = Testing::installCrontab(crontab);
        QVERIFY2(!failure, qPrintable(failure.value_or(QString())));

        // Checked as the window checks it: read back as the crontab tool lists it.
        const DataLocations locations = DataLocations::forCurrentUser();
        m_installed = QString::fromUtf8(Testing::listedCrontab());
        m_findings = CrontabChecker(LocalMachine::current(locations.executions))
                         .check(m_installed, CrontabSource::installed, locations.runner);

        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out + QStringLiteral("/control")), 90'000);
        // The other lines started in the same minute; give them time to end.
        QTest::qWait(3'000);
    }

    void cleanupTestCase() { QFile::remove(m_tool); }

    void findingPredictsWhatCronDoes_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("finding");
        QTest::addColumn<QString>("trace");
        QTest::addColumn<std::optional<QByteArray>>("content");
        int line = 2;
        for (const Claim& claim : claims) {
            QTest::newRow(claim.name)
                << line++ << QString::fromUtf8(claim.finding) << QString::fromUtf8(claim.trace)
                << (claim.content ? std::optional(QByteArray(claim.content)) : std::nullopt);
        }
    }

    void findingPredictsWhatCronDoes()
    {
        QFETCH(int, line);
        QFETCH(QString, finding);
        QFETCH(QString, trace);
        QFETCH(std::optional<QByteArray>, content);

        QStringList onLine;
        for (const Finding& found : m_findings) {
            if (found.line == line)
                onLine.append(found.id + u':' + rawValue(found.severity));
        }
        QVERIFY2(onLine.contains(finding),
                 qPrintable(m_installed.split(u'\n').value(line - 1) + u'\n' + onLine.join(u' ')));

        QFile file(m_out.filePath(trace));
        if (!content) {
            QVERIFY2(!file.exists(), qPrintable(trace));
            return;
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(trace));
        QCOMPARE(file.readAll(),
                 QByteArray(*content).replace("OUT", QFile::encodeName(m_out.path())));
    }

private:
    QTemporaryDir m_out;
    QString m_tool;
    QString m_installed;
    QList<Finding> m_findings;
};

int main(int argc, char* argv[])
{
    return Testing::execAsThrowawayUser<CheckClaimsSystemTest>(argc, argv);
}

#include "tst_check_claims.moc"
