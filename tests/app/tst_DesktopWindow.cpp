#include "AboutWindow.h"
#include "DesktopWindow.h"
#include "NotificationSwitch.h"
#include "PrivateSessionBus.h"
#include "TimelineCanvas.h"
#include "UpdateController.h"
#include "WindowOpener.h"
#include "WindowService.h"
#include "WindowUnderTest.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

QAction* menuAction(MainWindow& window, const char* menu, const QString& text)
{
    const auto* found = window.menuBar()->findChild<QMenu*>(QLatin1String(menu));
    if (!found)
        return nullptr;
    for (QAction* action : found->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// The program a second time, as a user starts it from a launcher, with a job to show: it hands
// the job over to the window on `bus` and ends.
bool startsASecondTime(const PrivateSessionBus& bus, const QUuid& job, const QString& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TEMPOLANE_DEMO"), QStringLiteral("1"));
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        environment.insert(QString::fromLatin1(variable), home);
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(TEMPOLANE_PROGRAM),
                 {QStringLiteral("--job"), job.toString(QUuid::WithoutBraces)});
    // The window answers from this process's event loop while the second start waits.
    return QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 30'000) &&
           second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0;
}

} // namespace

class DesktopWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menus_carryTheCommandsWithTheirShortcuts_data();
    void menus_carryTheCommandsWithTheirShortcuts();
    void helpMenu_opensOneAboutWindowAndChecksOnlyWithAFeed();
    void firstShow_waitsForTheCrontabButNotForever_data();
    void firstShow_waitsForTheCrontabButNotForever();
    void leavingADraft_asksFirst_data();
    void leavingADraft_asksFirst();
    void notificationsItem_showsTheStateWhenTheMenuOpens();
    void quit_savesTheLayoutOnlyWhereItCanLock_data();
    void quit_savesTheLayoutOnlyWhereItCanLock();
};

void DesktopWindowTest::menus_carryTheCommandsWithTheirShortcuts_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");

    const QString file = QStringLiteral("fileMenu");
    const QString edit = QStringLiteral("editMenu");
    const QString help = QStringLiteral("helpMenu");
    QTest::newRow("new") << file << u"Neuer Cronjob"_qs << QKeySequence(QKeySequence::New);
    QTest::newRow("duplicate") << file << u"Cronjob duplizieren"_qs << QKeySequence(u"Ctrl+D"_qs);
    QTest::newRow("reload") << file << u"Crontab aktualisieren"_qs << QKeySequence(u"Ctrl+R"_qs);
    QTest::newRow("backups") << file << u"Sicherungen \u2026"_qs << QKeySequence();
    QTest::newRow("quit") << file << u"Beenden"_qs << QKeySequence(QKeySequence::Quit);
    QTest::newRow("undo") << edit << u"Rückgängig"_qs << QKeySequence(QKeySequence::Undo);
    QTest::newRow("redo") << edit << u"Wiederholen"_qs << QKeySequence(QKeySequence::Redo);
    QTest::newRow("updates") << help << u"Nach Updates suchen \u2026"_qs << QKeySequence();
    QTest::newRow("about") << help << u"Über Tempolane"_qs << QKeySequence();
}

void DesktopWindowTest::menus_carryTheCommandsWithTheirShortcuts()
{
    QFETCH(QString, menu);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);

    StoreUnderTest fixture;
    UpdateController updates(QUrl(), {});
    const auto window = makeDesktopWindow(*fixture.store, updates);
    QAction* action = menuAction(*window, menu.toLatin1().constData(), text);
    QVERIFY2(action, qPrintable(text));
    QVERIFY(shortcut.isEmpty() || action->shortcuts().contains(shortcut));
}

void DesktopWindowTest::helpMenu_opensOneAboutWindowAndChecksOnlyWithAFeed()
{
    StoreUnderTest fixture;
    UpdateController updates(QUrl(), {});
    const auto window = makeDesktopWindow(*fixture.store, updates);
    window->show();
    QVERIFY(!menuAction(*window, "helpMenu", u"Nach Updates suchen \u2026"_qs)->isEnabled());
    QAction* about = menuAction(*window, "helpMenu", u"Über Tempolane"_qs);
    about->trigger();
    about->trigger();
    const auto opened = window->findChildren<AboutWindow*>();
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened.first()->isVisible());
    opened.first()->close();
    QTRY_VERIFY(window->findChildren<AboutWindow*>().isEmpty());
    about->trigger();
    QCOMPARE(window->findChildren<AboutWindow*>().size(), 1);
}

void DesktopWindowTest::firstShow_waitsForTheCrontabButNotForever_data()
{
    QTest::addColumn<bool>("isAnswered");
    QTest::addColumn<bool>("isFailing");

    QTest::newRow("read") << true << false;
    QTest::newRow("failed read") << true << true;
    QTest::newRow("hanging read") << false << false;
}

void DesktopWindowTest::firstShow_waitsForTheCrontabButNotForever()
{
    QFETCH(bool, isAnswered);
    QFETCH(bool, isFailing);

    StoreUnderTest fixture(crontabOf({{QStringLiteral("Archiv")}}));
    fixture.client->gate.isClosed = true;
    if (isFailing)
        fixture.client->readError = CronProcessError{CronProcessError::Kind::readFailed, {}};
    UpdateController updates(QUrl(), {});
    const auto window = openDesktopWindow(*fixture.store, updates, nullptr,
                                          std::chrono::milliseconds(isAnswered ? 60'000 : 50));
    QVERIFY(!window->isVisible());
    bool isWindowUnderAlert = false;
    connect(fixture.store.get(), &CronStore::presentedErrorChanged, window.get(),
            [&] { isWindowUnderAlert = window->isVisible(); });

    if (isAnswered)
        fixture.client->gate.open();
    QTRY_VERIFY(window->isVisible());
    QCOMPARE(fixture.store->hasLoaded(), isAnswered && !isFailing);
    QCOMPARE(fixture.store->jobs().size(), isAnswered && !isFailing ? 1 : 0);
    // The alert of a failed read stands over the window, not alone before it.
    const auto* alert = window->findChild<QMessageBox*>();
    QCOMPARE(alert && alert->isVisible(), isFailing);
    QCOMPARE(isWindowUnderAlert, isFailing);
    QCOMPARE(fixture.client->calls.count(QStringLiteral("read")), 1);
    fixture.client->gate.open();
    QTRY_VERIFY(!fixture.store->isLoading());
}

void DesktopWindowTest::leavingADraft_asksFirst_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer");

    for (const char* way :
         {"another job", "another job selected only", "a timeline mark", "a new job", "closing",
          "Anzeigen of a notification", "a second start", "undo"}) {
        for (const char* answer : {"saveButton", "discardButton", "cancelButton"})
            QTest::addRow("%s, %s", way, answer) << way << "Entwurf" << answer;
    }
    QTest::newRow("Anzeigen of a notification, saving an empty name")
        << "Anzeigen of a notification"
        << ""
        << "saveButton";
}

// Every way away from a draft asks about it first: another job chosen in the list, the
// timeline or from outside the window, a new job, closing, and an undo that takes the edited
// job away.
void DesktopWindowTest::leavingADraft_asksFirst()
{
    QFETCH(QString, way);
    QFETCH(QString, typed);
    QFETCH(QString, answer);

    const bool isFromOutside = way == u"Anzeigen of a notification" || way == u"a second start";
    std::optional<PrivateSessionBus> bus;
    if (isFromOutside && !bus.emplace().isValid())
        QSKIP("dbus-daemon is missing");
    StoreUnderTest fixture(crontabOf(threeJobs));
    UpdateController updates(QUrl(), {});
    const auto window = makeDesktopWindow(*fixture.store, updates);
    WindowService service(*fixture.store);
    if (isFromOutside) {
        QVERIFY(service.registerOn(bus->connect()));
        service.setWindow(window.get());
    }
    window->show();
    QTRY_COMPARE(fixture.store->jobs().size(), 3);
    QTRY_VERIFY(!fixture.store->isLoading());

    const bool isUndo = way == u"undo";
    if (isUndo) {
        // A job just created, which undoing the creation takes away again.
        CronJob created = makeJob(4, {QStringLiteral("Neu"), QStringLiteral("0 7 * * *")});
        QVERIFY(QCoro::waitFor(fixture.store->saveJob(created, true)));
    }
    auto* list = window->findChild<QListView*>(QStringLiteral("jobList"));
    const int editedRow = isUndo ? 3 : 0;
    list->setCurrentIndex(list->model()->index(editedRow, 0));
    const QUuid edited = fixture.job(editedRow).id;
    const QUuid other = fixture.job(1).id;
    QTRY_COMPARE(fixture.store->selection(), edited);
    QLineEdit* name = nullptr;
    QTRY_VERIFY((name = window->findChild<QLineEdit*>(QStringLiteral("nameField"))) &&
                name->isVisible());
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClicks(name, typed);
    const QString before = fixture.client->contents;

    const QModelIndex otherRow = list->model()->index(1, 0);
    std::optional<WindowOpener> notification;
    if (way == u"another job") {
        list->setCurrentIndex(otherRow);
    } else if (way == u"another job selected only") { // as assistive tools select
        list->selectionModel()->select(otherRow, QItemSelectionModel::ClearAndSelect);
    } else if (way == u"a timeline mark") {
        window->commands().timeline->trigger();
        auto* canvas = window->findChild<TimelineCanvas*>(QStringLiteral("timelineCanvas"));
        QTRY_VERIFY(canvas->isVisible() && canvas->timeline().lanes.size() > 1);
        QTest::mouseClick(canvas->viewport(), Qt::LeftButton, {},
                          canvas->itemRect({1, 0}).center());
    } else if (way == u"a new job") {
        window->commands().newJob->trigger();
    } else if (way == u"closing") {
        QVERIFY(!window->close());
    } else if (way == u"Anzeigen of a notification") {
        notification.emplace(bus->connect(), QStringLiteral("/bin/false"));
        notification->open(other, {});
    } else if (way == u"a second start") {
        QVERIFY(startsASecondTime(*bus, other, fixture.directory.path()));
    } else {
        window->commands().undo->trigger();
    }

    QMessageBox* question = nullptr;
    QTRY_VERIFY(question = window->findChild<QMessageBox*>(QStringLiteral("saveQuestionDialog")));
    QCOMPARE(question->text(),
             QStringLiteral("Änderungen an „%1“ sichern?")
                 .arg(isUndo ? QStringLiteral("Neu") : QStringLiteral("Bericht")));
    for (const auto& [button, label] :
         {std::pair("saveButton", "Sichern"), std::pair("discardButton", "Verwerfen"),
          std::pair("cancelButton", "Abbrechen")})
        QCOMPARE(question->findChild<QAbstractButton*>(QString::fromLatin1(button))->text(),
                 QString::fromLatin1(label));
    QCOMPARE(fixture.client->contents, before);
    question->findChild<QAbstractButton*>(answer)->click();
    QTRY_VERIFY(!window->findChild<QMessageBox*>(QStringLiteral("saveQuestionDialog")));
    QTRY_VERIFY(!fixture.store->isSaving());

    const bool isSaved = answer == u"saveButton" && !typed.isEmpty();
    const bool goesOn = answer == u"discardButton" || isSaved;
    QCOMPARE(fixture.client->contents.contains(QStringLiteral("# Tempolane name: Entwurf")),
             isSaved);
    if (isUndo) {
        // A saved draft is the change to take back now; nothing else was undone.
        const bool isUndone = answer == u"discardButton";
        QCOMPARE(fixture.store->jobs().size(), isUndone ? 3 : 4);
        QCOMPARE(fixture.store->selection() == edited, !isUndone);
    } else if (way == u"a new job") {
        QTRY_COMPARE(bool(window->findChild<QDialog*>(QStringLiteral("newJobDialog"))), goesOn);
        QCOMPARE(bool(fixture.store->jobForCreation()), goesOn);
    } else if (way == u"closing") {
        QTRY_COMPARE(window->isVisible(), !goesOn);
    } else {
        QTRY_COMPARE(fixture.store->selection(), goesOn ? other : edited);
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.front().row(), goesOn ? 1 : 0);
    }
    if (!goesOn) {
        QCOMPARE(fixture.store->selection(), edited);
        QCOMPARE(name->text(), typed);
        QCOMPARE(fixture.client->contents, before);
    }
    if (typed.isEmpty()) {
        // What stands in the way shows in the editor, where the keyboard now is.
        auto* message = window->findChild<QWidget*>(QStringLiteral("nameMessage"));
        QVERIFY(message->isVisible());
        QCOMPARE(QApplication::focusWidget(), name);
    }
    // What waited for the answer resumes over queued calls: it ends before the store goes.
    QTest::qWait(100);
}

void DesktopWindowTest::notificationsItem_showsTheStateWhenTheMenuOpens()
{
    QStandardPaths::setTestModeEnabled(true);
    const NotificationSwitch notificationSwitch(NotificationSwitch::userAutostartFolder(), {});
    QFile::remove(notificationSwitch.entryPath());
    StoreUnderTest fixture;
    UpdateController updates(QUrl(), {});
    const auto window = makeDesktopWindow(*fixture.store, updates);
    QAction* item = menuAction(*window, "fileMenu", u"Benachrichtigungen bei Fehlern"_qs);
    QVERIFY(item);
    QVERIFY(!item->isChecked());
    auto* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("fileMenu"));

    // Switched on in a terminal, then disabled in the desktop's settings, while the window is
    // open; each shows when the menu opens next, without switching anything.
    QVERIFY(QDir().mkpath(NotificationSwitch::userAutostartFolder()));
    QFile entry(notificationSwitch.entryPath());
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write(NotificationSwitch::entryText(QStringLiteral("/usr/bin/tempolane")).toUtf8());
    entry.close();
    Q_EMIT file->aboutToShow();
    QVERIFY(item->isChecked());
    QVERIFY(entry.open(QIODevice::Append));
    entry.write("X-GNOME-Autostart-enabled=false\n");
    entry.close();
    Q_EMIT file->aboutToShow();
    QVERIFY(!item->isChecked());
    QVERIFY(QFile::exists(notificationSwitch.entryPath()));
    QVERIFY(QFile::remove(notificationSwitch.entryPath()));
}

void DesktopWindowTest::quit_savesTheLayoutOnlyWhereItCanLock_data()
{
    QTest::addColumn<bool>("isLockBlocked");
    QTest::newRow("the lock can be taken: saved") << false;
    // A stale lock QSettings can neither take nor remove, and would wait for without end.
    QTest::newRow("a folder at the lock: left unsaved, the program ends") << true;
}

void DesktopWindowTest::quit_savesTheLayoutOnlyWhereItCanLock()
{
    QFETCH(bool, isLockBlocked);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tempolane.conf"));
    if (isLockBlocked)
        QVERIFY(QDir().mkdir(path + QStringLiteral(".lock")));
    StoreUnderTest fixture;
    UpdateController updates(QUrl(), {});
    {
        QSettings layout(path, QSettings::IniFormat);
        const auto window = openDesktopWindow(*fixture.store, updates, &layout);
        QTRY_VERIFY(window->isVisible());
        // What Ctrl+Q does: the event loop ends and the program says it is quitting.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }
    QCOMPARE(QFileInfo::exists(path), !isLockBlocked);
}

QTEST_MAIN(DesktopWindowTest)
#include "tst_DesktopWindow.moc"
