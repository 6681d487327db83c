// The real window on the real crontab of the throwaway test user: what a user does with the
// mouse and keyboard ends up in `crontab -l`, and a crontab changed in a terminal is never
// overwritten.
#include "CronBackupStore.h"
#include "CronDocument.h"
#include "CrontabTool.h"
#include "DataLocations.h"
#include "MainWindow.h"
#include "TempolaneApp.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>

using namespace Tempolane;

namespace {

// What `crontab -l` lists.
QString listed()
{
    return QString::fromUtf8(Testing::listedCrontab());
}

int backupCount()
{
    return int(QDir(DataLocations::forCurrentUser().backups).entryList(QDir::Files).size());
}

} // namespace

class MainWindowEndToEndTest final : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempolaneApp> m_app;
    std::unique_ptr<MainWindow> m_window;

    template <typename T> T* find(QWidget* root, const char* name)
    {
        return root->findChild<T*>(QString::fromLatin1(name));
    }
    QListView* list() { return find<QListView>(m_window.get(), "jobList"); }

private Q_SLOTS:
    void initTestCase()
    {
        Testing::crontabTool(QStringLiteral("-r"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TEMPOLANE_DEMO"));
        m_app = std::make_unique<TempolaneApp>(environment);
        QVERIFY(!m_app->isInSampleDataMode());
        m_window = std::make_unique<MainWindow>(m_app->store());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTRY_VERIFY(m_app->store().hasLoaded());
    }

    void cleanupTestCase()
    {
        m_window.reset();
        Testing::crontabTool(QStringLiteral("-r"));
    }

    void createdJob_isInTheCrontabWithItsMarkers()
    {
        m_window->commands().newJob->trigger();
        QTRY_VERIFY(find<QDialog>(m_window.get(), "newJobDialog"));
        auto* dialog = find<QDialog>(m_window.get(), "newJobDialog");
        QTest::keyClicks(find<QLineEdit>(dialog, "nameField"), QStringLiteral("Nachtlauf"));
        QTest::keyClicks(find<QPlainTextEdit>(dialog, "commandField"),
                         QStringLiteral("/usr/bin/true --nacht"));
        find<QAbstractButton>(dialog, "saveButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!find<QDialog>(m_window.get(), "newJobDialog"), 20'000);

        const auto job = m_app->store().selectedJob();
        QVERIFY(job);
        const QString installed = listed();
        QVERIFY2(installed.contains(QStringLiteral("# Tempolane name: Nachtlauf\n")),
                 qPrintable(installed));
        QVERIFY(installed.contains(QStringLiteral("# Tempolane id: ") +
                                   job->id.toString(QUuid::WithoutBraces)));
        // New jobs are monitored: the command runs through the runner and reads back as typed.
        QVERIFY(installed.contains(QStringLiteral("# Tempolane monitoring: ")));
        const auto jobs = CronDocument::parse(installed, m_app->locations().runner).jobs();
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(jobs.front().scheduleExpression, QStringLiteral("0 9 * * *"));
        QCOMPARE(jobs.front().command, QStringLiteral("/usr/bin/true --nacht"));
        QVERIFY(jobs.front().isMonitoringEnabled);
        QCOMPARE(list()->model()->rowCount(), 1);
    }

    // The window follows the change by itself within seconds; a save that comes first is
    // refused without a backup and offers to read the crontab again. Either way both the
    // terminal's line and the typed name end up in the crontab.
    void savingOverAnExternalChange_losesNeither()
    {
        const QString external = listed() + QStringLiteral("# von Hand im Terminal ergänzt\n");
        Testing::crontabTool(QStringLiteral("-"), external.toUtf8());
        QCOMPARE(listed(), external);
        const int backups = backupCount();

        auto* editor = find<QWidget>(m_window.get(), "jobEditor");
        QVERIFY(editor && editor->isVisible());
        auto* name = find<QLineEdit>(editor, "nameField");
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Nachtlauf neu"));
        find<QAbstractButton>(editor, "saveButton")->click();

        const auto isSaved = [&] { return listed().contains(u"# Tempolane name: Nachtlauf neu"); };
        QTRY_VERIFY_WITH_TIMEOUT(
            find<QMessageBox>(m_window.get(), "confirmationDialog") || isSaved(), 20'000);
        if (auto* offer = find<QMessageBox>(m_window.get(), "confirmationDialog")) {
            QCOMPARE(offer->text(), QStringLiteral("Cronjob konnte nicht gespeichert werden"));
            QVERIFY(offer->informativeText().contains(QStringLiteral("außerhalb von Tempolane")));
            QCOMPARE(listed(), external);
            QCOMPARE(backupCount(), backups);
            offer->findChild<QAbstractButton*>(QStringLiteral("confirmButton"))->click();
            QTRY_COMPARE_WITH_TIMEOUT(m_app->store().loadedContents(), external, 20'000);
            QCOMPARE(name->text(), QStringLiteral("Nachtlauf neu"));
            find<QAbstractButton>(editor, "saveButton")->click();
        }
        QTRY_VERIFY_WITH_TIMEOUT(isSaved(), 20'000);
        QVERIFY(listed().contains(u"# von Hand im Terminal ergänzt"));
    }
};

QTEST_MAIN(MainWindowEndToEndTest)
#include "tst_main_window_e2e.moc"
