#include "CrontabChecking.h"
#include "FakeMachine.h"
#include "StoreUnderTest.h"

#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

CheckMachine machineWithPhp()
{
    return fakeMachine({QStringLiteral("x:/usr/local/bin/php")});
}

QStringList ids(const QList<Finding>& findings)
{
    QStringList found;
    for (const Finding& finding : findings)
        found.append(finding.id);
    return found;
}

} // namespace

class CrontabCheckingTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void draftsTypedQuickly_showTheLastOnly();
    void fixMadeForAnOlderCrontab_isNotWritten();
};

void CrontabCheckingTest::draftsTypedQuickly_showTheLastOnly()
{
    StoreUnderTest fixture(QStringLiteral("*/5 * * * * /bin/true\n"));
    CrontabChecking checking(*fixture.store);
    checking.setMachineSource(machineWithPhp);
    fixture.load();
    QTRY_VERIFY(!checking.isChecking());
    QCOMPARE(fixture.store->jobProblems(), JobProblemMap());

    // Every keystroke asks at once and returns; what shows at the end is the last text typed.
    CronJob draft = fixture.job(0);
    for (const char* typed : {"p", "ph", "php", "php a", "/bin/tru", "/bin/true", "php artisan"}) {
        draft.command = QString::fromUtf8(typed);
        checking.checkDraft(draft);
    }
    QTRY_VERIFY(!checking.isChecking());
    QCOMPARE(checking.draftJobId(), draft.id);
    QCOMPARE(ids(checking.draftFindings()), QStringList{"command-not-found"});
    QVERIFY(checking.draftFindings().front().message.startsWith(u"„php“"));
    // The saved crontab is still the one checked.
    QCOMPARE(checking.findings(), QList<Finding>());
}

void CrontabCheckingTest::fixMadeForAnOlderCrontab_isNotWritten()
{
    StoreUnderTest fixture(QStringLiteral("*/5 * * * * php artisan\n"));
    CrontabChecking checking(*fixture.store);
    checking.setMachineSource(machineWithPhp);
    fixture.load();
    QTRY_COMPARE(ids(checking.findings()), QStringList{"command-not-found"});
    const Fix fullPath = checking.findings().front().fixes.front();

    // Saved meanwhile with another line above: the fix's edit no longer fits the crontab.
    CronDocument changed = fixture.store->document();
    changed.nodes.prepend(CronDocument::Node::passthrough(QStringLiteral("# neu")));
    QVERIFY(QCoro::waitFor(fixture.store->commitDocument(changed, 0, QStringLiteral("x"))));
    const QString saved = fixture.client->contents;
    QVERIFY(!QCoro::waitFor(checking.apply(fullPath)));
    QCOMPARE(fixture.client->contents, saved);

    // Checked anew, its own fix is written and undone under its name.
    QTRY_VERIFY(!checking.isChecking());
    QVERIFY(QCoro::waitFor(checking.apply(checking.findings().front().fixes.front())));
    QCOMPARE(fixture.client->contents,
             QStringLiteral("# neu\n*/5 * * * * /usr/local/bin/php artisan\n"));
    QCOMPARE(fixture.store->lastChange()->description, QStringLiteral("Pfad von „php“ ergänzen"));
    QTRY_COMPARE(fixture.store->jobProblems(), JobProblemMap());
}

QTEST_MAIN(CrontabCheckingTest)
#include "tst_CrontabChecking.moc"
