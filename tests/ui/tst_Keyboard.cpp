#include "AboutWindow.h"
#include "BackupsDialog.h"
#include "Language.h"
#include "ReadableText.h"
#include "UpdateController.h"
#include "WindowUnderTest.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

// A main window over three jobs, shown, active and loaded, with the keyboard in the list.
struct KeyboardWindow : WindowUnderTest
{
    KeyboardWindow() : WindowUnderTest(crontabOf(threeJobs)) {}

    bool isReady()
    {
        if (!showWithRows(3, true))
            return false;
        list()->setFocus();
        return QTest::qWaitFor([this] { return QApplication::focusWidget() == list(); });
    }
};

} // namespace

class KeyboardTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Language::installQtTexts(*QCoreApplication::instance(), QLocale(QLocale::German));
    }
    void cleanup() { closeEveryWindow(); }
    void ctrlF_findsAndEscapeClearsTheSearch();
    void menuKeys_openTheMenuOfTheSelectedRow_data();
    void menuKeys_openTheMenuOfTheSelectedRow();
    void windowTitle_namesTheSelectedJob();
    void focus_isMarkedInTheListsItReaches_data();
    void focus_isMarkedInTheListsItReaches();
    void tab_reachesTheToolbarButtons();
    void closeKeys_closeAboutAndBackups_data();
    void closeKeys_closeAboutAndBackups();
    void shortcuts_haveOneOwnerEach();
    void escape_closesOnlyWhatIsOpen_data();
    void escape_closesOnlyWhatIsOpen();
};

void KeyboardTest::ctrlF_findsAndEscapeClearsTheSearch()
{
    KeyboardWindow test;
    QVERIFY(test.isReady());
    auto* search = test.find<QLineEdit>("searchField");

    QTest::keyClick(test.list(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), search);
    QTest::keyClicks(search, QStringLiteral("report"));
    QCOMPARE(test.fixture.store->searchText(), QStringLiteral("report"));

    QTest::keyClick(search, Qt::Key_Escape);
    QVERIFY(search->text().isEmpty());
    QVERIFY(test.fixture.store->searchText().isEmpty());
    QVERIFY(test.window.isVisible());
}

void KeyboardTest::menuKeys_openTheMenuOfTheSelectedRow_data()
{
    QTest::addColumn<bool>("byMenuKey");
    QTest::newRow("Shift+F10") << false;
    // The desktop turns the menu key into a context menu event at the mouse pointer.
    QTest::newRow("menu key") << true;
}

void KeyboardTest::menuKeys_openTheMenuOfTheSelectedRow()
{
    QFETCH(bool, byMenuKey);
    KeyboardWindow test;
    QVERIFY(test.isReady());
    test.select(1);

    if (byMenuKey) {
        const QPoint pointer(test.list()->width() - 2, test.list()->height() - 2);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, pointer,
                                test.list()->mapToGlobal(pointer));
        QApplication::sendEvent(test.list(), &event);
    } else {
        QTest::keyClick(test.list(), Qt::Key_F10, Qt::ShiftModifier);
    }
    QTRY_VERIFY(QApplication::activePopupWidget());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("jobContextMenu"));
    // The menu acts on the selected row, not on whatever lies under the pointer.
    menu->findChild<QAction*>(QStringLiteral("deleteAction"))->trigger();
    menu->close();
    QCOMPARE(test.fixture.store->jobPendingDeletion()->id, test.fixture.job(1).id);
}

void KeyboardTest::windowTitle_namesTheSelectedJob()
{
    KeyboardWindow test;
    QVERIFY(test.isReady());

    // Which name the title takes is the window presentation's rule; here that it follows.
    test.select(1);
    QCOMPARE(test.window.windowTitle(), QStringLiteral("backup.sh – Tempolane"));

    CronJob renamed = test.fixture.job(1);
    renamed.name = QStringLiteral("Sicherung");
    QVERIFY(test.fixture.save(renamed));
    QCOMPARE(test.window.windowTitle(), QStringLiteral("Sicherung – Tempolane"));
    test.fixture.store->setSelection(QUuid());
    QCOMPARE(test.window.windowTitle(), QStringLiteral("Tempolane"));

    // The title follows the name as it is typed.
    test.select(0);
    QTRY_VERIFY(test.find<QLineEdit>("nameField") &&
                test.find<QLineEdit>("nameField")->isVisible());
    auto* name = test.find<QLineEdit>("nameField");
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Wochenbericht"));
    QCOMPARE(test.window.windowTitle(), QStringLiteral("Wochenbericht – Tempolane"));
}

void KeyboardTest::focus_isMarkedInTheListsItReaches_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("jobs") << QStringLiteral("jobList");
    QTest::newRow("filters") << QStringLiteral("filterList");
}

void KeyboardTest::focus_isMarkedInTheListsItReaches()
{
    QFETCH(QString, list);
    KeyboardWindow test;
    QVERIFY(test.isReady());
    test.select(0);
    auto* view = test.window.findChild<QAbstractItemView*>(list);
    const auto picture = [view] {
        QApplication::processEvents();
        return view->viewport()->grab().toImage();
    };
    // Reached with the keyboard, as a shortcut or the Tab key reaches it.
    test.find<QWidget>("searchField")->setFocus(Qt::ShortcutFocusReason);
    const QImage without = picture();
    view->setFocus(Qt::ShortcutFocusReason);
    const QImage with = picture();
    // Somewhere the mark stands out from what was there before by 3:1, as a sign must.
    double strongest = 1;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x)
            strongest = std::max(strongest, contrastRatio(with.pixel(x, y), without.pixel(x, y)));
    }
    QVERIFY2(strongest >= 3, qPrintable(QString::number(strongest)));
}

void KeyboardTest::tab_reachesTheToolbarButtons()
{
    KeyboardWindow test;
    QVERIFY(test.isReady());
    auto* search = test.find<QLineEdit>("searchField");
    search->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), search);

    QTest::keyClick(search, Qt::Key_Backtab, Qt::ShiftModifier);
    for (const char* button : {"timelineButton", "reloadButton"}) {
        QCOMPARE(QApplication::focusWidget(), test.find<QToolButton>(button));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    }
    QCOMPARE(QApplication::focusWidget(), test.find<QToolButton>("newJobButton"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(test.fixture.store->jobForCreation());
}

void KeyboardTest::closeKeys_closeAboutAndBackups_data()
{
    QTest::addColumn<bool>("isAbout");
    QTest::addColumn<QKeySequence>("keys");

    const QKeySequence escape(Qt::Key_Escape);
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    QTest::newRow("About, Escape") << true << escape;
    QTest::newRow("About, Ctrl+W") << true << ctrlW;
    QTest::newRow("backups, Escape") << false << escape;
    QTest::newRow("backups, Ctrl+W") << false << ctrlW;
}

void KeyboardTest::closeKeys_closeAboutAndBackups()
{
    QFETCH(bool, isAbout);
    QFETCH(QKeySequence, keys);

    StoreUnderTest fixture(crontabOf(threeJobs));
    UpdateController updates(QUrl(), {QStringLiteral("2.0"), QStringLiteral("40")});
    QWidget* window = nullptr;
    if (isAbout)
        window = new AboutWindow(updates, updates.installedVersion(), QString());
    else
        window = new BackupsDialog(*fixture.store, nullptr, fixture.clock());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    const std::unique_ptr<QWidget> owned(window);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));

    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QTest::keySequence(target, keys);
    QTRY_VERIFY(!window->isVisible());
}

// Where a standard key means more than one thing (on X11 Delete also means Ctrl+D), each of
// the window's keys still has one owner: after a click on a job, Ctrl+D duplicates it and the
// Delete key asks to delete it.
void KeyboardTest::shortcuts_haveOneOwnerEach()
{
    KeyboardWindow test;
    QVERIFY(test.isReady());
    const QRect row = test.list()->visualRect(test.list()->model()->index(1, 0));
    QTest::mouseClick(test.list()->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_COMPARE(test.fixture.store->selection(), test.fixture.job(1).id);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    QTRY_VERIFY(test.fixture.store->jobForCreation());
    QCOMPARE(test.fixture.store->jobForCreation()->name, QStringLiteral("backup.sh – Kopie"));
    QVERIFY(!test.fixture.store->jobPendingDeletion());
    test.fixture.store->setJobForCreation(std::nullopt);
    QTRY_VERIFY(!test.find<QDialog>("newJobDialog"));

    test.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&test.window));
    QTest::mouseClick(test.list()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::keyClick(test.list(), Qt::Key_Delete);
    QTRY_VERIFY(test.fixture.store->jobPendingDeletion());
    QCOMPARE(test.fixture.store->jobPendingDeletion()->id, test.fixture.job(1).id);
}

void KeyboardTest::escape_closesOnlyWhatIsOpen_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("typed");
    // Empty: the dialog asks nothing.
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("isClosed");

    QTest::newRow("Escape in an open picker closes the picker") << "Escape in the picker"
                                                                << "Nachtlauf"
                                                                << "" << false;
    QTest::newRow("Escape with nothing typed closes the dialog") << "Escape"
                                                                 << ""
                                                                 << "" << true;
    QTest::newRow("Escape with a name typed asks, and stays") << "Escape"
                                                              << "Nachtlauf"
                                                              << "cancelButton" << false;
    QTest::newRow("\"Abbrechen\" with a name typed asks, and discards") << "Abbrechen"
                                                                        << "Nachtlauf"
                                                                        << "confirmButton" << true;
    QTest::newRow("closing the window with a name typed asks, and stays")
        << "closing"
        << "Nachtlauf"
        << "cancelButton" << false;
}

void KeyboardTest::escape_closesOnlyWhatIsOpen()
{
    QFETCH(QString, way);
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(bool, isClosed);

    KeyboardWindow test;
    QVERIFY(test.isReady());
    test.window.commands().newJob->trigger();
    QPointer<QDialog> dialog;
    QTRY_VERIFY((dialog = test.find<QDialog>("newJobDialog")) && dialog->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("nameField"));
    name->setFocus();
    QTest::keyClicks(name, typed);

    if (way == u"Escape in the picker") {
        auto* frequency = dialog->findChild<QComboBox*>(QStringLiteral("frequencyPicker"));
        frequency->setFocus();
        QTest::keyClick(frequency, Qt::Key_Space);
        QWidget* popup = nullptr;
        QTRY_VERIFY(popup = QApplication::activePopupWidget());
        QTest::keyClick(popup, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
    } else if (way == u"Escape") {
        QTest::keyClick(name, Qt::Key_Escape);
    } else if (way == u"Abbrechen") {
        dialog->findChild<QAbstractButton*>(QStringLiteral("cancelButton"))->click();
    } else {
        dialog->close();
    }

    if (!answer.isEmpty()) {
        QMessageBox* question = nullptr;
        QTRY_VERIFY(dialog && (question = dialog->findChild<QMessageBox*>(
                                   QStringLiteral("confirmationDialog"))));
        QCOMPARE(question->text(), QStringLiteral("Neuen Cronjob verwerfen?"));
        question->findChild<QAbstractButton*>(answer)->click();
    }
    QTRY_COMPARE(bool(test.find<QDialog>("newJobDialog")), !isClosed);
    QCOMPARE(bool(test.fixture.store->jobForCreation()), !isClosed);
    // Closing, asked or not, writes nothing.
    QVERIFY(!test.fixture.client->calls.contains(QStringLiteral("write")));
    if (!isClosed) {
        QVERIFY(dialog->isVisible());
        QCOMPARE(name->text(), typed);
    }
}

QTEST_MAIN(KeyboardTest)
#include "tst_Keyboard.moc"
