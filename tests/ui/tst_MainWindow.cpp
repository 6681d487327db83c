#include "AccessibilityAudit.h"
#include "ActionButton.h"
#include "CrontabChecking.h"
#include "DateTimeText.h"
#include "EmptyStateView.h"
#include "FakeMachine.h"
#include "JobListModel.h"
#include "JobRowDelegate.h"
#include "Language.h"
#include "MainWindow.h"
#include "Palette.h"
#include "ReadableText.h"
#include "TimelineCanvas.h"
#include "WindowDriving.h"
#include "WindowUnderTest.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

// Opens the job at the row with a name typed over its own, unsaved.
void editName(WindowUnderTest& test, int row, const QString& name)
{
    test.select(row);
    QTRY_VERIFY(test.editor() && test.editor()->isVisible());
    QCOMPARE(test.fixture.store->selection(), test.fixture.job(row).id);
    QLineEdit* field = test.editor()->findChild<QLineEdit*>(QStringLiteral("nameField"));
    field->selectAll();
    QTest::keyClicks(field, name);
}

QString nameTyped(const WindowUnderTest& test)
{
    return test.editor()->findChild<QLineEdit*>(QStringLiteral("nameField"))->text();
}

// The tool tip shown where the pointer rests in the list.
QString toolTipAt(QListView* list, QPoint point)
{
    QHelpEvent hover(QEvent::ToolTip, point, list->viewport()->mapToGlobal(point));
    QApplication::sendEvent(list->viewport(), &hover);
    (void)QTest::qWaitFor([] { return QToolTip::isVisible(); });
    const QString text = QToolTip::text();
    QToolTip::hideText();
    return text;
}

} // namespace

class MainWindowTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Language::installQtTexts(*QCoreApplication::instance(), QLocale(QLocale::German));
    }
    void cleanup() { closeEveryWindow(); }
    void unreadableCrontab_showsPlaceholderEmptyListAndAlert();
    void reload_isDisabledWhileSaving();
    void emptyList_tellsNoJobsFromNoMatches();
    void sidebarAndSuggestion_followTheStore();
    void contextMenu_deletesAfterAskingPausesAndDuplicates();
    void newJobDialog_failedCreationKeepsTheTypedValues();
    void everyControl_hasAnAccessibleName();
    void longList_rowsFitBesideTheScrollBar();
    void toolbar_tooltipsNameTheShortcutInThePlatformsWords();
    void undoAndRedo_takeTheLastChangeBackThroughTheStore();
    void fixFromTheHintsCard_isSavedAndTakenBackUnderItsName();
    void backupsDialog_showsTheDiffInGreenAndRedAndRestores();
    void filterAndSearch_neverMoveTheSelection_data();
    void filterAndSearch_neverMoveTheSelection();
    void timeline_isReadAndUsedFromTheKeyboard();
    void rightToLeft_mirrorsTheRowsAndKeepsCodeInOrder();
    void changes_reachTheOpenEditor_data();
    void changes_reachTheOpenEditor();
    void jobRemovedOutside_leavesItsEditsInTheNewJobDialog();
};

// How each failure is told is the store's table; here that the window shows it over an empty
// list, German all the way, the system's words only behind the details button.
void MainWindowTest::unreadableCrontab_showsPlaceholderEmptyListAndAlert()
{
    const QString systemWords = QStringLiteral("crontab: your UID isn't in the passwd file.");
    WindowUnderTest test(crontabOf(threeJobs));
    test.fixture.client->readError = CronSystemError::commandFailed(1, systemWords);
    QVERIFY(test.showWithRows(0));

    QTRY_VERIFY(test.box("alertDialog"));
    QMessageBox* alert = test.box("alertDialog");
    QCOMPARE(alert->text(), QStringLiteral("Crontab konnte nicht geladen werden"));
    QVERIFY2(!alert->informativeText().contains(systemWords), qPrintable(alert->informativeText()));
    QVERIFY(!alert->informativeText().isEmpty());
    QCOMPARE(alert->detailedText(), systemWords);
    const QList<QAbstractButton*> buttons = alert->findChildren<QAbstractButton*>();
    QVERIFY(std::ranges::any_of(buttons, [](const QAbstractButton* button) {
        return button->text() == QStringLiteral("Details einblenden …");
    }));
    QVERIFY(test.find<QWidget>("detailPlaceholder")->isVisible());
    QVERIFY(test.list()->isVisible());
    QCOMPARE(test.list()->model()->rowCount(), 0);
    QVERIFY(test.window.commands().reload->isEnabled());

    test.box("alertDialog")->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    QTRY_VERIFY(!test.fixture.store->presentedError());
}

void MainWindowTest::reload_isDisabledWhileSaving()
{
    WindowUnderTest test(crontabOf(threeJobs));
    QVERIFY(test.showWithRows(3));
    QTRY_VERIFY(!test.fixture.store->isLoading());
    QVERIFY(test.window.commands().reload->isEnabled());

    test.fixture.client->gate.isClosed = true;
    CronJob edited = test.fixture.job(0);
    edited.name = QStringLiteral("Neuer Name");
    test.fixture.store->saveJob(edited, false);
    QTRY_COMPARE(test.fixture.client->gate.waiting, 1);
    QVERIFY(!test.window.commands().reload->isEnabled());
    QVERIFY(!test.find<QToolButton>("reloadButton")->isEnabled());

    test.fixture.client->gate.open();
    QTRY_VERIFY(test.window.commands().reload->isEnabled());
}

void MainWindowTest::emptyList_tellsNoJobsFromNoMatches()
{
    WindowUnderTest test(crontabOf({threeJobs.front()}));
    QVERIFY(test.showWithRows(1));
    auto* emptyState = test.find<EmptyStateView>("listEmptyState");
    QVERIFY(!emptyState->isVisible());

    test.find<QLineEdit>("searchField")->setText(QStringLiteral("gibt es nicht"));
    QCOMPARE(test.fixture.store->searchText(), QStringLiteral("gibt es nicht"));
    QVERIFY(emptyState->isVisible());
    QCOMPARE(emptyState->title(), QStringLiteral("Keine Treffer"));
    QVERIFY(!emptyState->actionButton()->isVisible());

    test.fixture.store->setSearchText({});
    QVERIFY(test.find<QLineEdit>("searchField")->text().isEmpty());
    QVERIFY(test.fixture.save(test.fixture.job(0)));
    QCoro::waitFor(test.fixture.store->deleteJob(test.fixture.job(0)));
    QCOMPARE(emptyState->title(), QStringLiteral("Noch keine Cronjobs"));
    QVERIFY(emptyState->actionButton()->isVisible());
    emptyState->actionButton()->click();
    QVERIFY(test.fixture.store->jobForCreation());
}

void MainWindowTest::sidebarAndSuggestion_followTheStore()
{
    WindowUnderTest test(crontabOf(threeJobs));
    auto* suggestion = test.find<QWidget>("monitoringSuggestion");
    QVERIFY(!suggestion->isVisibleTo(&test.window));
    QVERIFY(test.showWithRows(3));
    QTRY_VERIFY(suggestion->isVisible());

    auto* filters = test.find<QListView>("filterList");
    filters->setCurrentIndex(filters->model()->index(2, 0));
    QCOMPARE(test.fixture.store->filter(), JobFilter::paused);
    QCOMPARE(test.find<QLabel>("listTitle")->text(), QStringLiteral("Pausiert"));
    QCOMPARE(test.list()->model()->rowCount(), 1);
    test.fixture.store->setFilter(JobFilter::active);
    QCOMPARE(filters->currentIndex().row(), 1);

    test.find<QPushButton>("dismissSuggestionButton")->click();
    QVERIFY(!suggestion->isVisible());
}

void MainWindowTest::contextMenu_deletesAfterAskingPausesAndDuplicates()
{
    WindowUnderTest test(crontabOf(threeJobs));
    QVERIFY(test.showWithRows(3));
    const auto answer = [&](const char* button) {
        QTRY_VERIFY(test.box("confirmationDialog"));
        test.box("confirmationDialog")
            ->findChild<QPushButton*>(QString::fromLatin1(button))
            ->click();
    };

    // A job without a name is asked about by its command's.
    QCOMPARE(chooseFromContextMenu(test.list(), 1, "deleteAction"), QStringLiteral("Löschen"));
    QTRY_VERIFY(test.box("confirmationDialog"));
    QCOMPARE(test.box("confirmationDialog")->informativeText(),
             QStringLiteral("„backup.sh“ wird aus der lokalen crontab entfernt. Vorher wird "
                            "automatisch ein Backup angelegt."));
    answer("cancelButton");
    QTRY_VERIFY(!test.fixture.store->jobPendingDeletion());
    QCOMPARE(test.fixture.store->document().jobs().size(), 3);
    QCOMPARE(chooseFromContextMenu(test.list(), 1, "deleteAction"), QStringLiteral("Löschen"));
    answer("confirmButton");
    QTRY_COMPARE(test.list()->model()->rowCount(), 2);
    QVERIFY(!test.fixture.client->contents.contains(QStringLiteral("backup.sh")));
    QTRY_VERIFY(!test.fixture.store->isSaving());

    QCOMPARE(chooseFromContextMenu(test.list(), 0, "toggleEnabledAction"),
             QStringLiteral("Pausieren"));
    QTRY_VERIFY(test.fixture.client->contents.contains(
        QStringLiteral("# Tempolane disabled: 30 8 * * 1-5 /bin/report")));
    // The menu offers what the list shows, once the store has adopted its write.
    QTRY_VERIFY(!test.fixture.store->isSaving());
    QCOMPARE(chooseFromContextMenu(test.list(), 0, "toggleEnabledAction"),
             QStringLiteral("Fortsetzen"));
    QTRY_VERIFY(test.fixture.job(0).isEnabled);

    QCOMPARE(chooseFromContextMenu(test.list(), 1, "duplicateAction"),
             QStringLiteral("Duplizieren"));
    QCOMPARE(test.fixture.store->jobForCreation()->name, QStringLiteral("Archiv – Kopie"));
}

void MainWindowTest::newJobDialog_failedCreationKeepsTheTypedValues()
{
    WindowUnderTest test(crontabOf(threeJobs));
    QVERIFY(test.showWithRows(3));
    test.window.commands().newJob->trigger();
    QTRY_VERIFY(test.find<QDialog>("newJobDialog"));
    auto* dialog = test.find<QDialog>("newJobDialog");
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("nameField"));
    auto* command = dialog->findChild<QPlainTextEdit*>(QStringLiteral("commandField"));
    QTest::keyClicks(name, QStringLiteral("Nachtlauf"));
    QTest::keyClicks(command, QStringLiteral("/usr/local/bin/night.sh"));

    // Someone edits the crontab in a terminal meanwhile: the save is refused.
    test.fixture.client->contents += QStringLiteral("# von Hand\n");
    auto* save = dialog->findChild<QAbstractButton*>(QStringLiteral("saveButton"));
    QVERIFY(save->isEnabled());
    save->click();
    QTRY_VERIFY(dialog->findChild<QMessageBox*>(QStringLiteral("confirmationDialog")));
    auto* alert = dialog->findChild<QMessageBox*>(QStringLiteral("confirmationDialog"));
    QCOMPARE(alert->text(), QStringLiteral("Cronjob konnte nicht angelegt werden"));
    QVERIFY(dialog->isVisible());
    QCOMPARE(name->text(), QStringLiteral("Nachtlauf"));
    QCOMPARE(command->toPlainText(), QStringLiteral("/usr/local/bin/night.sh"));

    // The alert offers the reload the dialog otherwise stands in the way of; the job is then
    // created on the new text, and the dialog closes on it.
    QCOMPARE(alert->findChild<QPushButton*>(QStringLiteral("confirmButton"))->text(),
             QStringLiteral("Neu laden"));
    alert->findChild<QPushButton*>(QStringLiteral("confirmButton"))->click();
    QTRY_VERIFY(!test.find<QDialog>("newJobDialog"));
    QCOMPARE(test.list()->model()->rowCount(), 4);
    QCOMPARE(test.fixture.store->selectedJob()->name, QStringLiteral("Nachtlauf"));
    QVERIFY(test.fixture.client->contents.contains(QStringLiteral("# von Hand\n")));
    QVERIFY(test.fixture.client->contents.contains(QStringLiteral("# Tempolane name: Nachtlauf")));
}

void MainWindowTest::everyControl_hasAnAccessibleName()
{
    WindowUnderTest test(crontabOf(threeJobs));
    QVERIFY(test.showWithRows(3));
    QTRY_VERIFY(!test.fixture.store->isLoading());
    QCOMPARE(Testing::unnamedFocusableWidgets(&test.window), QStringList());

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(test.list());
    QStringList rows;
    for (int i = 0; i < list->childCount(); ++i)
        rows.append(list->child(i)->text(QAccessible::Name));
    QCOMPARE(rows, QStringList({QStringLiteral("Bericht, Ausführungsstatus nicht aktiviert"),
                                QStringLiteral("backup.sh, Ausführungsstatus nicht aktiviert"),
                                QStringLiteral("Archiv, Pausiert")}));
    QAccessibleInterface* filters =
        QAccessible::queryAccessibleInterface(test.find<QListView>("filterList"));
    QCOMPARE(filters->child(1)->text(QAccessible::Name), QStringLiteral("Aktiv, 2"));
}

void MainWindowTest::longList_rowsFitBesideTheScrollBar()
{
    QList<JobSketch> jobs;
    for (int i = 0; i < 40; ++i)
        jobs.append({QStringLiteral("Sicherung %1").arg(i)});
    WindowUnderTest test(crontabOf(jobs));
    QVERIFY(test.showWithRows(40));
    QTRY_VERIFY(test.list()->verticalScrollBar()->isVisible());

    QVERIFY(!test.list()->horizontalScrollBar()->isVisible());
    const QRect firstRow = test.list()->visualRect(test.list()->model()->index(0, 0));
    QCOMPARE(firstRow.width(), test.list()->viewport()->width());
}

void MainWindowTest::toolbar_tooltipsNameTheShortcutInThePlatformsWords()
{
    WindowUnderTest test;
    QCOMPARE(test.find<QToolButton>("newJobButton")->toolTip(),
             QStringLiteral("Neuen Cronjob anlegen (Strg+N)"));
    QVERIFY(test.find<QToolButton>("reloadButton")
                ->toolTip()
                .startsWith(QStringLiteral("System-crontab neu laden (")));
}

void MainWindowTest::undoAndRedo_takeTheLastChangeBackThroughTheStore()
{
    WindowUnderTest test(crontabOf(threeJobs));
    QVERIFY(test.showWithRows(3, true));
    QString& crontab = test.fixture.client->contents;
    const QString before = crontab;
    QAction* undo = test.window.commands().undo;
    QAction* redo = test.window.commands().redo;
    QVERIFY(!undo->isEnabled());

    // The editor rebuilt after the save must leave the window active, or the keys go nowhere.
    QCoro::waitFor(test.fixture.store->setEnabled(false, test.fixture.job(0)));
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Rückgängig: Pausieren von „Bericht“"));
    QTest::keySequence(&test.window, QKeySequence::Undo);
    QTRY_COMPARE(crontab, before);
    QTRY_VERIFY(redo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("Wiederholen: Pausieren von „Bericht“"));
    QVERIFY(!undo->isEnabled());

    // Changed in a terminal: redoing is no longer offered, and the item says why.
    crontab += QStringLiteral("# von Hand\n");
    QCoro::waitFor(test.fixture.store->checkLastChange());
    QVERIFY(!redo->isEnabled());
    QCOMPARE(redo->toolTip(), QStringLiteral("Die crontab wurde seitdem geändert."));
}

void MainWindowTest::fixFromTheHintsCard_isSavedAndTakenBackUnderItsName()
{
    const QString lineThatNeverRuns = QStringLiteral("0 9 * * sat-sun /bin/true\n");
    WindowUnderTest test(QStringLiteral("*/5 * * * * php artisan\n") + lineThatNeverRuns);
    test.window.checking().setMachineSource(
        [] { return fakeMachine({QStringLiteral("x:/usr/local/bin/php")}); });
    QVERIFY(test.showWithRows(1));

    // The row's mark tells why, on hover and to a screen reader; the filter counts the job.
    const QString why = QStringLiteral("„php“ liegt in /usr/local/bin, cron sucht aber nur in "
                                       "/usr/bin:/bin.");
    const auto row = [&] { return test.list()->model()->index(0, 0); };
    QTRY_COMPARE(row().data(Qt::AccessibleDescriptionRole).toString(), why);
    QCOMPARE(test.fixture.store->problemJobCount(), 1);
    auto* delegate = qobject_cast<JobRowDelegate*>(test.list()->itemDelegate());
    const QRect shown = test.list()->visualRect(row());
    QCOMPARE(toolTipAt(test.list(), delegate->markRect(shown).center()), why);
    // Elsewhere on the row the whole command, as on every row.
    QCOMPARE(toolTipAt(test.list(), shown.center()), QStringLiteral("php artisan"));
    // The line that is no job stands in the banner above the list.
    QTRY_VERIFY(test.find<QWidget>("problemBanner")->isVisible());
    QCOMPARE(test.find<QLabel>("problemBannerTitle")->text(),
             QStringLiteral("1 Zeile deiner Crontab läuft nie"));

    test.list()->setCurrentIndex(row());
    QWidget* card = nullptr;
    QTRY_VERIFY((card = test.find<QWidget>("hintsCard")) && card->isVisible());
    ActionButton* fullPath = nullptr;
    for (auto* button : card->findChildren<ActionButton*>(QStringLiteral("fixButton"))) {
        if (button->text() == u"Vollen Pfad einsetzen")
            fullPath = button;
    }
    QVERIFY(fullPath && fullPath->isEnabled());
    fullPath->click();

    QTRY_COMPARE(test.fixture.client->contents,
                 QStringLiteral("*/5 * * * * /usr/local/bin/php artisan\n") + lineThatNeverRuns);
    QTRY_VERIFY(!card->isVisible());
    QTRY_VERIFY(row().data(Qt::AccessibleDescriptionRole).isNull());
    QCOMPARE(test.fixture.store->problemJobCount(), 0);
    QCOMPARE(test.window.commands().undo->text(),
             QStringLiteral("Rückgängig: Pfad von „php“ ergänzen"));
}

void MainWindowTest::backupsDialog_showsTheDiffInGreenAndRedAndRestores()
{
    WindowUnderTest test(crontabOf(threeJobs));
    QVERIFY(test.showWithRows(3));
    const QString original = test.fixture.client->contents;
    CronJob renamed = test.fixture.job(0);
    renamed.name = QStringLiteral("Neuer Name");
    QVERIFY(test.fixture.save(renamed));

    test.window.commands().backups->trigger();
    QTRY_VERIFY(test.find<QDialog>("backupsDialog"));
    auto* dialog = test.find<QDialog>("backupsDialog");
    auto* list = dialog->findChild<QTreeView*>(QStringLiteral("backupList"));
    QTRY_COMPARE(list->model()->rowCount(), 1);
    QCOMPARE(Testing::unnamedFocusableWidgets(dialog), QStringList());

    // From the crontab now to the backup: the name written now goes, the old one comes back.
    QMap<QString, QColor> colours;
    auto* diff = dialog->findChild<QPlainTextEdit*>(QStringLiteral("backupDiff"));
    QVERIFY(diff->isVisible());
    for (QTextBlock block = diff->document()->begin(); block.isValid(); block = block.next())
        colours.insert(block.text(), block.begin().fragment().charFormat().foreground().color());
    QCOMPARE(colours.value(QStringLiteral("− # Tempolane name: Neuer Name")),
             Palette::color(Tint::red, dialog->palette()));
    QCOMPARE(colours.value(QStringLiteral("+ # Tempolane name: Bericht")),
             Palette::color(Tint::green, dialog->palette()));

    dialog->findChild<QAbstractButton*>(QStringLiteral("restoreButton"))->click();
    QTRY_VERIFY(dialog->findChild<QMessageBox*>(QStringLiteral("confirmationDialog")));
    auto* question = dialog->findChild<QMessageBox*>(QStringLiteral("confirmationDialog"));
    QCOMPARE(question->text(), QStringLiteral("Crontab durch diese Sicherung ersetzen?"));
    QCOMPARE(question->informativeText(),
             QStringLiteral("Die aktuelle Crontab wird vorher gesichert."));
    question->findChild<QPushButton*>(QStringLiteral("confirmButton"))->click();
    QTRY_COMPARE(test.fixture.client->contents, original);
    QTRY_COMPARE(list->model()->rowCount(), 2);
    QCOMPARE(test.window.commands().undo->text(),
             QStringLiteral("Rückgängig: Wiederherstellen einer Sicherung"));
}

// Ctrl+T shows the timeline of the active jobs in place of the list; a screen reader hears its
// summary and each mark the arrow keys reach; Enter chooses the job; Ctrl+T goes back.
void MainWindowTest::timeline_isReadAndUsedFromTheKeyboard()
{
    QList<JobSketch> jobs = threeJobs;
    jobs[1].isMonitoringEnabled = true;
    WindowUnderTest test(crontabOf(jobs));
    // Last night's backup ran; the service answers at once, as the runs are read.
    const JobExecutionRecord backup{
        QStringLiteral("1-1"),
        QDateTime(QDate(2026, 3, 2), QTime(2, 0, 1), StoreUnderTest::zone()),
        QDateTime(QDate(2026, 3, 2), QTime(2, 3), StoreUnderTest::zone()),
        0,
        std::nullopt,
        false};
    const QUuid backupId = makeJob(2, jobs[1]).id;
    test.fixture.execution->recordsOf.insert(backupId, {backup});
    test.fixture.execution->summaryMap.insert(
        backupId, {stateOf(backup), backup, test.fixture.now.addDays(-1)});
    QVERIFY(test.showWithRows(3));
    QTest::keyClick(&test.window, Qt::Key_T, Qt::ControlModifier);
    auto* canvas = test.find<TimelineCanvas>("timelineCanvas");
    QTRY_COMPARE(canvas->timeline().lanes.size(), 2);
    QVERIFY(!test.list()->isVisible());
    QVERIFY(test.window.commands().timeline->isChecked());

    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(canvas);
    QCOMPARE(picture->text(QAccessible::Name), QStringLiteral("Zeitleiste"));
    QTRY_COMPARE(picture->text(QAccessible::Description),
                 QStringLiteral("Nächste 24 Stunden: 2 Ausführungen von 2 Jobs. Vergangene 24 "
                                "Stunden: 1 erfolgreich."));
    QCOMPARE(picture->childCount(), canvas->itemCount());

    canvas->setFocus(Qt::TabFocusReason);
    QTest::keyClick(canvas, Qt::Key_Down);
    QCOMPARE(canvas->focusedItem(), std::optional(TimelineCanvas::Item{1, 1}));
    QAccessibleInterface* mark = picture->child(canvas->indexOf({1, 1}));
    const QDateTime tomorrowAtTwo(QDate(2026, 3, 3), QTime(2, 0), StoreUnderTest::zone());
    QCOMPARE(
        mark->text(QAccessible::Name),
        QStringLiteral("backup.sh, %1: geplant. Dauert meist 2 Min. 59 Sek.")
            .arg(DateTimeText::shortDateTime(tomorrowAtTwo, QLocale(), tomorrowAtTwo.timeZone())));
    QVERIFY(mark->state().focused);
    QTest::keyClick(canvas, Qt::Key_Return);
    QTRY_COMPARE(test.fixture.store->selection(), test.fixture.job(1).id);

    test.find<QWidget>("timelineRange")->findChildren<QAbstractButton*>().at(1)->click();
    QTRY_VERIFY(canvas->timeline().summary.startsWith(QStringLiteral("Nächste 7 Tage: 12 ")));

    QTest::keyClick(&test.window, Qt::Key_T, Qt::ControlModifier);
    QTRY_VERIFY(test.list()->isVisible());
    QVERIFY(!canvas->isVisible());
}

void MainWindowTest::rightToLeft_mirrorsTheRowsAndKeepsCodeInOrder()
{
    QApplication::setLayoutDirection(Qt::RightToLeft);
    WindowUnderTest test(crontabOf(threeJobs));
    // Commands that exist, so that no hints card pushes the command field out of sight.
    test.window.checking().setMachineSource([] {
        return fakeMachine({QStringLiteral("x:/bin/report"), QStringLiteral("x:/bin/archive"),
                            QStringLiteral("x:/usr/local/bin/backup.sh")});
    });
    QVERIFY(test.showWithRows(3));
    test.select(0);
    QTRY_VERIFY(test.editor() && test.editor()->isVisible());
    const QList<PaintedText> texts = paintedTexts(test.window);
    const auto runsOf = [&](const QString& text) {
        return std::ranges::count_if(
            texts, [&](const PaintedText& run) { return run.text.trimmed() == text; });
    };
    // The row, the schedule field and summary and the command field each paint the expression
    // and the command whole, in the order they are written; reordered, they break into pieces.
    QVERIFY(runsOf(QStringLiteral("30 8 * * 1-5")) >= 2);
    QVERIFY(runsOf(QStringLiteral("/bin/report")) >= 2);
    // The rows mirror: a name stands at the right, beside its symbol.
    QWidget* rows = test.list()->viewport();
    const auto name = std::ranges::find_if(texts, [&](const PaintedText& run) {
        return run.widget == rows && run.text == QStringLiteral("Bericht");
    });
    QVERIFY(name != texts.end());
    QVERIFY(name->box.left() > rows->mapTo(&test.window, rows->rect().center()).x());
}

void MainWindowTest::filterAndSearch_neverMoveTheSelection_data()
{
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("filterRow");

    QTest::newRow("a search that hides the selected job") << 0 << "archive" << 0;
    QTest::newRow("\"Pausiert\" hiding an active job") << 0 << "" << 2;
    QTest::newRow("\"Aktiv\" hiding a paused job") << 2 << "" << 1;
}

void MainWindowTest::filterAndSearch_neverMoveTheSelection()
{
    QFETCH(int, selectedRow);
    QFETCH(QString, search);
    QFETCH(int, filterRow);

    WindowUnderTest test(crontabOf(threeJobs));
    QVERIFY(test.showWithRows(3));
    editName(test, selectedRow, QStringLiteral("Entwurf"));
    const QUuid selected = test.fixture.store->selection();

    QTest::keyClicks(test.find<QLineEdit>("searchField"), search);
    auto* filters = test.find<QListView>("filterList");
    filters->setCurrentIndex(filters->model()->index(filterRow, 0));
    QVERIFY(test.list()->model()->rowCount() < 3);

    QCOMPARE(test.fixture.store->selection(), selected);
    QCOMPARE(nameTyped(test), QStringLiteral("Entwurf"));
    // The list shows the job as hidden: no other row stands in for it.
    QVERIFY(!test.list()->selectionModel()->hasSelection());
    QVERIFY(!test.box("saveQuestionDialog"));

    // Shown again, it is the selected row again.
    test.find<QLineEdit>("searchField")->clear();
    filters->setCurrentIndex(filters->model()->index(0, 0));
    QCOMPARE(test.list()->currentIndex().data(JobListModel::JobIdRole).toUuid(), selected);
    QCOMPARE(nameTyped(test), QStringLiteral("Entwurf"));
}

void MainWindowTest::changes_reachTheOpenEditor_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("typedName");

    for (const char* change : {"pausing it", "pausing another job", "monitoring all",
                               "a terminal's, within the refresh"}) {
        QTest::addRow("%s, nothing typed", change) << QString::fromLatin1(change) << QString();
        QTest::addRow("%s, a name typed", change)
            << QString::fromLatin1(change) << QStringLiteral("Entwurf");
    }
    QTest::newRow("a terminal's, on regaining the focus, a name typed")
        << QStringLiteral("a terminal's, on regaining the focus") << QStringLiteral("Entwurf");
}

// A change from the list, the suggestion or a terminal reaches the editor without a reload:
// what the user left alone takes the new value, what the user typed stays and is saved onto
// it, and the editor says when the change came from outside.
void MainWindowTest::changes_reachTheOpenEditor()
{
    QFETCH(QString, change);
    QFETCH(QString, typedName);

    WindowUnderTest test(crontabOf(threeJobs));
    QVERIFY(test.showWithRows(3, true));
    editName(test, 0, typedName.isEmpty() ? QStringLiteral("Bericht") : typedName);
    const QUuid edited = test.fixture.store->selection();

    QString& crontab = test.fixture.client->contents;
    const bool isOutside = change.startsWith(u"a terminal");
    if (change == u"pausing it") {
        chooseFromContextMenu(test.list(), 0, "toggleEnabledAction");
    } else if (change == u"pausing another job") {
        chooseFromContextMenu(test.list(), 1, "toggleEnabledAction");
    } else if (change == u"monitoring all") {
        test.find<QAbstractButton>("enableMonitoringButton")->click();
    } else {
        crontab.replace(QStringLiteral("/bin/report"), QStringLiteral("/bin/report --all"));
        crontab += QStringLiteral("0 5 * * * /bin/neu\n");
    }
    if (change.endsWith(u"focus")) {
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        const qsizetype reads = test.fixture.client->calls.count(QStringLiteral("read"));
        test.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&test.window));
        QVERIFY(test.fixture.client->calls.count(QStringLiteral("read")) > reads);
    }
    if (isOutside) {
        QTRY_VERIFY_WITH_TIMEOUT(test.fixture.store->loadedContents() == crontab, 15'000);
        QTRY_COMPARE(test.list()->model()->rowCount(), 4);
    } else {
        QTRY_VERIFY(test.fixture.client->calls.contains(QStringLiteral("write")));
    }
    QTRY_VERIFY(!test.fixture.store->isSaving());

    QCOMPARE(test.fixture.store->selection(), edited);
    const CronJob stored = *test.fixture.store->selectedJob();
    QWidget* editor = test.editor();
    const auto isChecked = [&](const char* name) {
        return editor->findChild<QAbstractButton*>(QString::fromLatin1(name))->isChecked();
    };
    QCOMPARE(isChecked("enabledSwitch"), stored.isEnabled);
    QCOMPARE(isChecked("monitoringSwitch"), stored.isMonitoringEnabled);
    QCOMPARE(editor->findChild<QPlainTextEdit*>(QStringLiteral("commandField"))->toPlainText(),
             isOutside ? QStringLiteral("/bin/report --all") : stored.command);
    auto* save = editor->findChild<QAbstractButton*>(QStringLiteral("saveButton"));
    QCOMPARE(save->isEnabled(), !typedName.isEmpty());
    QCOMPARE(editor->findChild<QWidget*>(QStringLiteral("revertButton"))->isVisible(),
             !typedName.isEmpty());
    auto* note = editor->findChild<QWidget*>(QStringLiteral("outsideChangeNote"));
    QVERIFY(note);
    QCOMPARE(note->isVisible(), isOutside && !typedName.isEmpty());
    if (typedName.isEmpty())
        return;

    QCOMPARE(nameTyped(test), typedName);
    save->click();
    QTRY_VERIFY(crontab.contains(QStringLiteral("# Tempolane name: Entwurf")));
    QTRY_VERIFY(!test.fixture.store->isSaving());
    const CronJob saved = *test.fixture.store->selectedJob();
    QCOMPARE(saved.isEnabled, stored.isEnabled);
    QCOMPARE(saved.isMonitoringEnabled, stored.isMonitoringEnabled);
    QCOMPARE(saved.command, stored.command);
    QCOMPARE(crontab.contains(QStringLiteral("/bin/neu")), isOutside);
    QTRY_VERIFY(!note->isVisible());
}

// The job whose edits are open is removed in a terminal: the edits move to the new-job dialog,
// which says why, asks before it lets them go, and creates the job again.
void MainWindowTest::jobRemovedOutside_leavesItsEditsInTheNewJobDialog()
{
    WindowUnderTest test(crontabOf(threeJobs));
    QVERIFY(test.showWithRows(3));
    editName(test, 0, QStringLiteral("Entwurf"));

    QStringList rest;
    for (const int number : {2, 3})
        makeJob(number, threeJobs[number - 1])
            .appendSerializedLines(rest, quotedPath(runnerPath()));
    QString& crontab = test.fixture.client->contents;
    crontab = rest.join(u'\n') + u'\n';
    QTRY_COMPARE_WITH_TIMEOUT(test.list()->model()->rowCount(), 2, 15'000);

    QTRY_VERIFY(test.window.findChild<QDialog*>(QStringLiteral("newJobDialog")));
    auto* dialog = test.window.findChild<QDialog*>(QStringLiteral("newJobDialog"));
    QTRY_VERIFY(dialog->isVisible());
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("nameField"))->text(),
             QStringLiteral("Entwurf"));
    QCOMPARE(dialog->findChild<QPlainTextEdit*>(QStringLiteral("commandField"))->toPlainText(),
             QStringLiteral("/bin/report"));
    auto* note = dialog->findChild<QWidget*>(QStringLiteral("outsideChangeNote"));
    QVERIFY(note->isVisible());
    const QString said = note->findChild<QLabel*>()->text();
    QVERIFY2(said.contains(u"gibt es in der crontab nicht mehr"), qPrintable(said));
    // Untouched in the dialog, the edits are still the user's: closing asks first.
    dialog->reject();
    QTRY_VERIFY(test.box("confirmationDialog"));
    test.box("confirmationDialog")->reject();
    QVERIFY(dialog->isVisible());

    dialog->findChild<QAbstractButton*>(QStringLiteral("saveButton"))->click();
    QTRY_VERIFY(crontab.contains(QStringLiteral("# Tempolane name: Entwurf")));
    QVERIFY(crontab.contains(QStringLiteral("30 8 * * 1-5 /bin/report")));
}

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
