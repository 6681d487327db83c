#include "AccessibilityAudit.h"
#include "DateTimeText.h"
#include "ExecutionHistoryModel.h"
#include "ExecutionPanel.h"
#include "JobEditorView.h"
#include "JobSketch.h"
#include "RunChartView.h"
#include "RunHistory.h"
#include "UpcomingRuns.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

using namespace Tempolane;
using Tempolane::Testing::backupJob;

namespace {

QList<JobExecutionRecord> history(int count)
{
    QList<JobExecutionRecord> records = Testing::dailyRuns(count);
    if (!records.isEmpty())
        records[0].output = QStringLiteral("done\n");
    return records;
}

// Counts the calls of each action.
struct Calls
{
    QList<CronJob> saved;
    int cancelled = 0;
    int runs = 0;
    int clears = 0;

    JobEditorView::Actions actions(bool isNew)
    {
        JobEditorView::Actions actions;
        actions.save = [this](CronJob job) { saved.append(job); };
        actions.runNow = [this] { ++runs; };
        actions.clearHistory = [this] { ++clears; };
        if (isNew) {
            actions.cancel = [this] { ++cancelled; };
        } else {
            actions.remove = [] {};
            actions.duplicate = [] {};
        }
        return actions;
    }
};

JobEditorView::Inputs inputsFor(const CronJob& original, bool isNew = false, bool isSaving = false)
{
    JobEditorView::Inputs inputs;
    inputs.originalJob = original;
    inputs.isNew = isNew;
    inputs.isSaving = isSaving;
    return inputs;
}

JobEditorView::Inputs monitored(const CronJob& original, int records)
{
    JobEditorView::Inputs inputs = inputsFor(original);
    inputs.originalJob.isMonitoringEnabled = true;
    inputs.executionHistory = history(records);
    inputs.executionSummary = {JobExecutionState::succeeded(), inputs.executionHistory.value(0),
                               std::nullopt};
    return inputs;
}

template <typename T = QWidget> T* child(QWidget& root, const char* name)
{
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no child named %s", name);
    return found;
}

QAbstractButton* button(QWidget& root, const char* name)
{
    return child<QAbstractButton>(root, name);
}

QListView* historyList(QWidget& root)
{
    return child<QListView>(root, "executionHistoryList");
}

// Unfolds or folds a run of the history as a click on its header does.
void clickRun(QWidget& root, int row)
{
    QListView* list = historyList(root);
    const QRect header = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(header.center().x(), header.top() + 8));
}

void answer(QWidget& root, const char* buttonName)
{
    auto* dialog = child<QMessageBox>(root, "confirmationDialog");
    QVERIFY(dialog && dialog->isVisible());
    dialog->findChild<QAbstractButton*>(QString::fromLatin1(buttonName))->click();
    QTRY_VERIFY(!root.findChild<QMessageBox*>(QStringLiteral("confirmationDialog")));
}

// One notch of the mouse wheel over the middle of `target`, delivered as the window system
// delivers it: to the control, and on to its parents where the control leaves it.
void turnWheel(QWidget* target, int notches)
{
    const QPoint centre = target->rect().center();
    QWheelEvent event(centre, target->mapToGlobal(centre), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::sendEvent(target, &event);
}

// The controls whose value a wheel could turn.
QList<QWidget*> turnableControls(QWidget& root)
{
    QList<QWidget*> controls;
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        const bool turns =
            qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
            (qobject_cast<QAbstractSlider*>(widget) && !qobject_cast<QScrollBar*>(widget));
        if (turns && widget->isVisible())
            controls.append(widget);
    }
    return controls;
}

} // namespace

class JobEditorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void switchingModes_showsTheFormOrTheText();
    void saveAndRevert_followTheDraft();
    void saveShortcutAndEscape_onlyWhereTheyApply_data();
    void saveShortcutAndEscape_onlyWhereTheyApply();
    void weekdayButtons_toggleTheDaysButNeverTheLast();
    void history_showsTheTwentyNewestRuns();
    void runButton_waitsForUnsavedChanges();
    void confirmations_callTheActionsOnlyWhenConfirmed();
    void newInputs_keepTheDraftOfTheSameJobOnly();
    void history_startsCollapsedForEveryJob();
    void everyFocusableControl_hasAName();
    void upcomingRuns_countFromTheEditorsClock();
    void history_isReadInTheOrderItIsShown();
    void runChart_drawsEveryRunAndUnfoldsTheOneClicked();
    void wheel_scrollsThePageUnlessAControlHasTheKeyboard_data();
    void wheel_scrollsThePageUnlessAControlHasTheKeyboard();
    void visualChangesThatComeBack_keepTheSavedText_data();
    void visualChangesThatComeBack_keepTheSavedText();
};

void JobEditorTest::switchingModes_showsTheFormOrTheText()
{
    Calls calls;
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * 1-5"))), calls.actions(false));
    editor.show();
    auto* field = child<QLineEdit>(editor, "scheduleField");
    auto* picker = child(editor, "editorModePicker");
    QVERIFY(child(editor, "frequencyPicker")->isVisible());
    QVERIFY(!field->isVisible());

    picker->findChildren<QAbstractButton*>().at(1)->click();
    QVERIFY(field->isVisible());
    QVERIFY(!child(editor, "frequencyPicker")->isVisible());
    QCOMPARE(field->text(), u"0 9 * * 1-5"_qs);

    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("0 9 1-7 * *"));
    QCOMPARE(child<QLabel>(editor, "scheduleExpression")->text(), u"0 9 1-7 * *"_qs);
    // The form cannot show the typed text and gives the saved days back, as they were written.
    picker->findChildren<QAbstractButton*>().at(0)->click();
    QVERIFY(!field->isVisible());
    QCOMPARE(child<QLabel>(editor, "scheduleExpression")->text(), u"0 9 * * 1-5"_qs);
}

void JobEditorTest::saveAndRevert_followTheDraft()
{
    Calls calls;
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * *"))), calls.actions(false));
    editor.show();
    QAbstractButton* save = button(editor, "saveButton");
    QAbstractButton* revert = button(editor, "revertButton");
    QVERIFY(!save->isEnabled());
    QVERIFY(!revert->isVisible());

    button(editor, "enabledSwitch")->click();
    QVERIFY(save->isEnabled());
    QVERIFY(revert->isVisible());
    revert->click();
    QVERIFY(!save->isEnabled());
    QVERIFY(!revert->isVisible());
    QVERIFY(button(editor, "enabledSwitch")->isChecked());

    auto* name = child<QLineEdit>(editor, "nameField");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral(" Nightly "));
    save->click();
    QCOMPARE(calls.saved.size(), 1);
    QCOMPARE(calls.saved.front().name, u"Nightly"_qs);
    QCOMPARE(name->text(), u" Nightly "_qs);

    name->clear();
    QTest::keyClick(name, Qt::Key_Space);
    QVERIFY(!save->isEnabled());
    QVERIFY(child(editor, "nameMessage")->isVisible());
}

void JobEditorTest::saveShortcutAndEscape_onlyWhereTheyApply_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<bool>("changeFirst");
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("cancels");

    QTest::newRow("existing, unchanged") << false << false << 0 << 0;
    QTest::newRow("existing, changed") << false << true << 1 << 0;
    QTest::newRow("new job") << true << false << 1 << 1;
}

void JobEditorTest::saveShortcutAndEscape_onlyWhereTheyApply()
{
    QFETCH(bool, isNew);
    QFETCH(bool, changeFirst);
    QFETCH(int, saves);
    QFETCH(int, cancels);

    Calls calls;
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * *")), isNew),
                         calls.actions(isNew));
    editor.show();
    QApplication::setActiveWindow(&editor);
    auto* name = child<QLineEdit>(editor, "nameField");
    name->setFocus();
    if (changeFirst)
        QTest::keyClicks(name, QStringLiteral("2"));
    QTest::keySequence(name, QKeySequence::Save);
    QTest::keyClick(name, Qt::Key_Escape);
    QCOMPARE(calls.saved.size(), saves);
    QCOMPARE(calls.cancelled, cancels);
}

void JobEditorTest::weekdayButtons_toggleTheDaysButNeverTheLast()
{
    Calls calls;
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * 1"))), calls.actions(false));
    editor.show();
    QAbstractButton* monday = button(editor, "weekdayButton1");
    QAbstractButton* friday = button(editor, "weekdayButton5");
    auto* expression = child<QLabel>(editor, "scheduleExpression");
    QCOMPARE(friday->accessibleName(), u"Freitag"_qs);

    monday->click();
    QVERIFY(monday->isChecked());
    QCOMPARE(expression->text(), u"0 9 * * 1"_qs);
    friday->click();
    QVERIFY(friday->isChecked());
    QCOMPARE(expression->text(), u"0 9 * * 1,5"_qs);
    QVERIFY(QAccessible::queryAccessibleInterface(friday)->state().checked);
    monday->click();
    QVERIFY(!monday->isChecked());
    QCOMPARE(expression->text(), u"0 9 * * 5"_qs);
}

void JobEditorTest::history_showsTheTwentyNewestRuns()
{
    Calls calls;
    JobEditorView editor(monitored(backupJob(QStringLiteral("@daily")), 35), calls.actions(false));
    editor.show();
    QCOMPARE(historyList(editor)->model()->rowCount(), 20);
    QVERIFY(!historyList(editor)->isVisible());

    button(editor, "historyHeader")->click();
    QVERIFY(historyList(editor)->isVisible());
    // The output view is made when its row is first expanded, and goes when it is folded.
    QVERIFY(!editor.findChild<QWidget*>(QStringLiteral("recordOutput")));
    clickRun(editor, 0);
    auto* output = child<QPlainTextEdit>(editor, "recordOutput");
    QVERIFY(output && output->isVisible());
    QCOMPARE(output->toPlainText(), u"done"_qs);
    // The list is as tall as its runs: the page scrolls, not the list.
    QTRY_COMPARE(historyList(editor)->height(), historyList(editor)->sizeHint().height());
    QVERIFY(historyList(editor)->visualRect(historyList(editor)->model()->index(19, 0)).bottom() <
            historyList(editor)->height());
    clickRun(editor, 1);
    QVERIFY(child(editor, "recordWithoutOutput")->isVisible());
    clickRun(editor, 0);
    QTRY_VERIFY(!editor.findChild<QWidget*>(QStringLiteral("recordOutput")));
}

void JobEditorTest::runButton_waitsForUnsavedChanges()
{
    Calls calls;
    JobEditorView editor(monitored(backupJob(QStringLiteral("@daily")), 1), calls.actions(false));
    editor.show();
    QAbstractButton* run = button(editor, "runNowButton");
    QVERIFY(run->isEnabled());
    QCOMPARE(run->toolTip(), u"Cronjob einmal sofort ausführen"_qs);

    QTest::keyClicks(child(editor, "nameField"), QStringLiteral("2"));
    QVERIFY(!run->isEnabled());
    QCOMPARE(run->toolTip(), u"Sichere zuerst deine Änderungen."_qs);
}

void JobEditorTest::confirmations_callTheActionsOnlyWhenConfirmed()
{
    Calls calls;
    JobEditorView editor(monitored(backupJob(QStringLiteral("@daily")), 3), calls.actions(false));
    editor.show();

    button(editor, "runNowButton")->click();
    // The run gets cron's environment, so the question no longer warns that it may differ.
    QCOMPARE(child<QMessageBox>(editor, "confirmationDialog")->informativeText(),
             u"Der gespeicherte Befehl wird sofort gestartet, mit derselben Umgebung, die cron "
             u"ihm gibt."_qs);
    answer(editor, "cancelButton");
    QCOMPARE(calls.runs, 0);
    button(editor, "runNowButton")->click();
    answer(editor, "confirmButton");
    QCOMPARE(calls.runs, 1);

    button(editor, "clearHistoryButton")->click();
    answer(editor, "cancelButton");
    QCOMPARE(calls.clears, 0);
    button(editor, "clearHistoryButton")->click();
    answer(editor, "confirmButton");
    QCOMPARE(calls.clears, 1);
}

void JobEditorTest::newInputs_keepTheDraftOfTheSameJobOnly()
{
    Calls calls;
    const CronJob first = backupJob(QStringLiteral("0 9 * * *"));
    JobEditorView editor(inputsFor(first), calls.actions(false));
    QSignalSpy titles(&editor, &JobEditorView::titleChanged);
    auto* name = child<QLineEdit>(editor, "nameField");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Draft"));
    QCOMPARE(titles.size(), 5);

    editor.setInputs(inputsFor(first, false, true));
    QCOMPARE(name->text(), u"Draft"_qs);
    QVERIFY(!button(editor, "saveButton")->isEnabled());

    CronJob second = backupJob(QStringLiteral("@reboot"));
    second.name = QStringLiteral("Other");
    editor.setInputs(inputsFor(second));
    QCOMPARE(name->text(), u"Other"_qs);
    QCOMPARE(editor.title(), u"Other"_qs);
    QCOMPARE(titles.last().at(0).toString(), u"Other"_qs);
    QVERIFY(child(editor, "scheduleField")->isVisibleTo(&editor));
}

void JobEditorTest::history_startsCollapsedForEveryJob()
{
    Calls calls;
    const CronJob first = backupJob(QStringLiteral("0 9 * * *"));
    JobEditorView editor(monitored(first, 3), calls.actions(false));
    editor.show();
    const auto rowShown = [&] { return historyList(editor)->isVisible(); };
    button(editor, "historyHeader")->click();
    QVERIFY(rowShown());

    // A refresh of the same job keeps the list open; another job starts with it folded.
    editor.setInputs(monitored(first, 4));
    QVERIFY(rowShown());
    editor.setInputs(monitored(backupJob(QStringLiteral("0 3 * * *")), 3));
    QVERIFY(!rowShown());
    QVERIFY(!button(editor, "historyHeader")->isChecked());
}

void JobEditorTest::everyFocusableControl_hasAName()
{
    Calls calls;
    JobEditorView editor(monitored(backupJob(QStringLiteral("*/5 * * * *")), 2),
                         calls.actions(false));
    editor.show();
    button(editor, "historyHeader")->click();
    clickRun(editor, 0);
    // Every frequency shows other rows of the visual form.
    auto* frequency = child<QComboBox>(editor, "frequencyPicker");
    for (int index = 0; index < frequency->count(); ++index) {
        frequency->setFocus();
        QTest::keyClick(frequency, Qt::Key_Down);
        QCOMPARE(Testing::unnamedFocusableWidgets(&editor), QStringList());
    }
    child(editor, "editorModePicker")->findChildren<QAbstractButton*>().at(1)->click();
    QCOMPARE(Testing::unnamedFocusableWidgets(&editor), QStringList());
}

void JobEditorTest::upcomingRuns_countFromTheEditorsClock()
{
    Calls calls;
    const QDateTime now(QDate(2031, 3, 2), QTime(10, 0));
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * *"))), calls.actions(false),
                         [now] { return now; });
    QStringList shown;
    for (const QLabel* label : child(editor, "upcomingRuns")->findChildren<QLabel*>())
        shown.append(label->text());
    QVERIFY2(shown.contains(UpcomingRuns::texts(QStringLiteral("0 9 * * *"), now).front()),
             qPrintable(shown.join(u'|')));
}

// The names a screen reader meets under `node`, depth first, that are in `wanted`.
QStringList namesInReadingOrder(QAccessibleInterface* node, const QStringList& wanted)
{
    QStringList names;
    if (!node)
        return names;
    const QString name = node->text(QAccessible::Name);
    if (wanted.contains(name))
        names.append(name);
    for (int index = 0; index < node->childCount(); ++index)
        names += namesInReadingOrder(node->child(index), wanted);
    return names;
}

void JobEditorTest::history_isReadInTheOrderItIsShown()
{
    Calls calls;
    const CronJob job = backupJob(QStringLiteral("0 9 * * *"));
    const QList<JobExecutionRecord> runs = history(3);
    JobEditorView::Inputs inputs = monitored(job, 0);
    inputs.executionHistory = runs.mid(1);
    JobEditorView editor(inputs, calls.actions(false));
    editor.show();
    button(editor, "historyHeader")->click();
    // A newer run arrives while the list is open.
    inputs.executionHistory = runs;
    editor.setInputs(inputs);

    QListView* list = historyList(editor);
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QModelIndex index = list->model()->index(row, 0);
        if (row > 0)
            QVERIFY(list->visualRect(index).top() >
                    list->visualRect(index.siblingAtRow(row - 1)).top());
        shown.append(index.data(Qt::AccessibleTextRole).toString());
    }
    // Each run by its own start time; only the newest is the last run.
    QStringList newestFirst;
    for (const JobExecutionRecord& run : runs)
        newestFirst.append(DateTimeText::shortDateTime(run.startedAt) + u" – "_qs +
                           ExecutionPanel::runTitle(run, newestFirst.isEmpty()));
    QCOMPARE(shown, newestFirst);
    QCOMPARE(namesInReadingOrder(QAccessible::queryAccessibleInterface(&editor), shown), shown);

    // From the keyboard, Space unfolds the current run, whose output is then read out with it.
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Space);
    QAccessibleInterface* newest = QAccessible::queryAccessibleInterface(list)->child(0);
    QCOMPARE(newest->text(QAccessible::Description), u"done"_qs);
    QVERIFY(child(editor, "recordOutput")->isVisible());
}

// The chart draws more runs than the history lists: a click on an older one lists the history
// down to it and unfolds it there.
void JobEditorTest::runChart_drawsEveryRunAndUnfoldsTheOneClicked()
{
    Calls calls;
    JobEditorView::Inputs inputs = monitored(backupJob(QStringLiteral("@daily")), 35);
    inputs.runs = inputs.executionHistory;
    JobEditorView editor(inputs, calls.actions(false));
    editor.resize(700, 900);
    editor.show();
    auto* chart = child<RunChartView>(editor, "runChart");
    QVERIFY(chart->isVisible());
    QCOMPARE(chart->chart().slots.size(), 35);
    QCOMPARE(child<QLabel>(editor, "runChartFacts")->text(),
             QStringLiteral("Median: 12 Sek. · Langsamste Ausführung: %1, 12 Sek.")
                 .arg(DateTimeText::shortDateTime(Testing::newestRunStart)));
    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(chart);
    QCOMPARE(picture->childCount(), 35);
    QVERIFY(picture->text(QAccessible::Description)
                .startsWith(QStringLiteral("Laufzeiten der letzten 35 Ausführungen; Median")));

    QTest::mouseClick(chart, Qt::LeftButton, {}, chart->slotRect(0).center());
    QTRY_VERIFY(historyList(editor)->isVisible());
    const QAbstractItemModel* rows = historyList(editor)->model();
    QCOMPARE(rows->rowCount(), 35);
    QVERIFY(rows->index(34, 0).data(ExecutionHistoryModel::isExpandedRole).toBool());
    QCOMPARE(rows->index(34, 0).data(ExecutionHistoryModel::withoutOutputRole).toString(),
             QStringLiteral("Meldungen zeigt das Protokoll nur für die 20 neuesten Ausführungen."));

    chart->setFocus(Qt::TabFocusReason);
    QTest::keyClick(chart, Qt::Key_End);
    QCOMPARE(picture->child(34)->text(QAccessible::Name),
             QStringLiteral("%1: erfolgreich, Dauer 12 Sek.")
                 .arg(DateTimeText::shortDateTime(Testing::newestRunStart)));
    QTest::keyClick(chart, Qt::Key_Return);
    QTRY_VERIFY(rows->index(0, 0).data(ExecutionHistoryModel::isExpandedRole).toBool());
    QTRY_COMPARE(child<QPlainTextEdit>(editor, "recordOutput")->toPlainText(), u"done"_qs);

    JobEditorView::Inputs oneRun = monitored(inputs.originalJob, 1);
    oneRun.runs = oneRun.executionHistory;
    editor.setInputs(oneRun);
    QVERIFY(!chart->isVisible());
    QCOMPARE(child<QLabel>(editor, "runChartPlaceholder")->text(),
             QStringLiteral("Das Diagramm der Laufzeiten erscheint nach der zweiten Ausführung."));
}

void JobEditorTest::wheel_scrollsThePageUnlessAControlHasTheKeyboard_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<bool>("isNew");

    // Each frequency shows other controls.
    QTest::newRow("every minute") << "* * * * *" << false;
    QTest::newRow("hourly") << "30 * * * *" << false;
    QTest::newRow("weekly") << "0 9 * * 1-5" << false;
    QTest::newRow("monthly") << "0 9 15 * *" << false;
    QTest::newRow("daily, in the new-job dialog") << "0 9 * * *" << true;
}

void JobEditorTest::wheel_scrollsThePageUnlessAControlHasTheKeyboard()
{
    QFETCH(QString, expression);
    QFETCH(bool, isNew);

    Calls calls;
    JobEditorView::Inputs inputs = monitored(backupJob(expression), 0);
    inputs.isNew = isNew;
    JobEditorView editor(inputs, calls.actions(isNew));
    editor.resize(720, 420);
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    QScrollBar* page = editor.findChild<QScrollArea*>()->verticalScrollBar();
    QVERIFY(page->maximum() > 0);
    auto* name = child(editor, "nameField");

    const QList<QWidget*> controls = turnableControls(editor);
    QVERIFY(controls.size() >= 3);
    for (QWidget* control : controls) {
        const QString shown = control->objectName();
        name->setFocus();
        page->setValue(0);
        turnWheel(control, -1);
        QVERIFY2(!editor.hasUnsavedChanges(), qPrintable(shown));
        QVERIFY2(page->value() > 0, qPrintable(shown));
        QVERIFY2(!control->hasFocus(), qPrintable(shown));
    }

    // With the keyboard in it, a picker takes the wheel.
    auto* frequency = child<QComboBox>(editor, "frequencyPicker");
    frequency->setFocus();
    turnWheel(frequency, frequency->currentIndex() == 0 ? -1 : 1);
    QVERIFY(editor.hasUnsavedChanges());
}

void JobEditorTest::visualChangesThatComeBack_keepTheSavedText_data()
{
    QTest::addColumn<QString>("expression");
    // "click NAME" presses a button, "KEY NAME" gives the control the keyboard and presses
    // the arrow key.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("isChanged");

    const QString friday = QStringLiteral("click weekdayButton5");
    QTest::newRow("a weekday off and on again keeps a range")
        << "30 8 * * 1-5" << QStringList{friday, friday} << "30 8 * * 1-5" << false;
    QTest::newRow("weekly to daily and back")
        << "0 9 * * 1-5" << QStringList{"Up frequencyPicker", "Down frequencyPicker"}
        << "0 9 * * 1-5" << false;
    QTest::newRow("an interval of one minute, changed and back")
        << "*/1 * * * *" << QStringList{"Down intervalPicker", "Up intervalPicker"} << "*/1 * * * *"
        << false;
    QTest::newRow("an hour on and back keeps a leading zero")
        << "05 9 * * *" << QStringList{"Up timePicker", "Down timePicker"} << "05 9 * * *" << false;
    QTest::newRow("Sunday written as 7, another day on and off")
        << "0 9 * * 7" << QStringList{"click weekdayButton1", "click weekdayButton1"} << "0 9 * * 7"
        << false;
    QTest::newRow("a day added is a change")
        << "30 8 * * 1-5" << QStringList{"click weekdayButton6"} << "30 8 * * 1,2,3,4,5,6" << true;
}

void JobEditorTest::visualChangesThatComeBack_keepTheSavedText()
{
    QFETCH(QString, expression);
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QFETCH(bool, isChanged);

    Calls calls;
    JobEditorView editor(inputsFor(backupJob(expression)), calls.actions(false));
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    for (const QString& step : steps) {
        QWidget* control = child(editor, step.section(u' ', 1).toLatin1().constData());
        QVERIFY2(control && control->isVisible(), qPrintable(step));
        if (step.startsWith(u"click")) {
            QTest::mouseClick(control, Qt::LeftButton);
            continue;
        }
        control->setFocus();
        QTest::keyClick(control, step.startsWith(u"Up") ? Qt::Key_Up : Qt::Key_Down);
    }
    QCOMPARE(child<QLabel>(editor, "scheduleExpression")->text(), shown);
    QCOMPARE(editor.hasUnsavedChanges(), isChanged);
    QCOMPARE(button(editor, "saveButton")->isEnabled(), isChanged);
    QCOMPARE(button(editor, "revertButton")->isVisible(), isChanged);
}

QTEST_MAIN(JobEditorTest)
#include "tst_JobEditor.moc"
