#include "AboutWindow.h"
#include "DesktopWindow.h"
#include "NotificationSwitch.h"
#include "StoreUnderTest.h"
#include "UpdateController.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
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

} // namespace

class DesktopWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menus_carryTheCommandsWithTheirShortcuts_data();
    void menus_carryTheCommandsWithTheirShortcuts();
    void updateCheck_isOffWithoutAFeed();
    void about_opensOneWindowAndBringsItBack();
    void firstShow_waitsForTheCrontabButNotForever_data();
    void firstShow_waitsForTheCrontabButNotForever();
    void notificationsItem_showsTheStateWhenTheMenuOpens();
    void quit_savesTheLayoutOnlyWhereItCanLock_data();
    void quit_savesTheLayoutOnlyWhereItCanLock();
};

void DesktopWindowTest::menus_carryTheCommandsWithTheirShortcuts_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");

    QTest::newRow("new") << "fileMenu"
                         << "Neuer Cronjob" << QKeySequence(QKeySequence::New);
    QTest::newRow("duplicate") << "fileMenu"
                               << "Cronjob duplizieren" << QKeySequence(Qt::CTRL | Qt::Key_D);
    QTest::newRow("reload") << "fileMenu"
                            << "Crontab aktualisieren" << QKeySequence(Qt::CTRL | Qt::Key_R);
    QTest::newRow("backups") << "fileMenu" << u"Sicherungen \u2026"_qs << QKeySequence();
    QTest::newRow("quit") << "fileMenu"
                          << "Beenden" << QKeySequence(QKeySequence::Quit);
    QTest::newRow("undo") << "editMenu"
                          << "Rückgängig" << QKeySequence(QKeySequence::Undo);
    QTest::newRow("redo") << "editMenu"
                          << "Wiederholen" << QKeySequence(QKeySequence::Redo);
    QTest::newRow("updates") << "helpMenu" << u"Nach Updates suchen \u2026"_qs << QKeySequence();
    QTest::newRow("about") << "helpMenu" << u"Über Tempolane"_qs << QKeySequence();
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

void DesktopWindowTest::updateCheck_isOffWithoutAFeed()
{
    StoreUnderTest fixture;
    UpdateController updates(QUrl(), {});
    const auto window = makeDesktopWindow(*fixture.store, updates);
    QAction* check = menuAction(*window, "helpMenu", u"Nach Updates suchen \u2026"_qs);
    QVERIFY(check);
    QVERIFY(!check->isEnabled());
}

void DesktopWindowTest::about_opensOneWindowAndBringsItBack()
{
    StoreUnderTest fixture;
    UpdateController updates(QUrl(), {});
    const auto window = makeDesktopWindow(*fixture.store, updates);
    window->show();
    QAction* about = menuAction(*window, "helpMenu", u"Über Tempolane"_qs);
    QVERIFY(about);
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
