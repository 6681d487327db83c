// The job editor on its own: what the mouse, the keyboard and a screen reader do to the draft,
// and what each of them is told.
#include "AccessibilityAudit.h"
#include "DateTimeText.h"
#include "ExecutionHistoryModel.h"
#include "ExecutionPanel.h"
#include "JobEditorView.h"
#include "JobSketch.h"
#include "RunChartView.h"
#include "RunHistory.h"
#include "Style.h"
#include "UpcomingRuns.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>
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

    JobEditorView::Actions actions(bool isNew = false)
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

QAccessibleInterface* accessibleOf(QWidget& root, const char* name)
{
    QWidget* widget = child(root, name);
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
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

// What a screen reader does: the Toggle action the control offers, never a click.
bool toggleThroughAccessibility(QAccessibleInterface* accessible)
{
    QAccessibleActionInterface* actions = accessible ? accessible->actionInterface() : nullptr;
    if (!actions || !actions->actionNames().contains(QAccessibleActionInterface::toggleAction()))
        return false;
    actions->doAction(QAccessibleActionInterface::toggleAction());
    return true;
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

// The names a screen reader meets under `node`, depth first; with `role`, only the names of
// nodes in that role, else only the names in `wanted`.
QStringList namesInReadingOrder(QAccessibleInterface* node, const QStringList& wanted,
                                std::optional<QAccessible::Role> role = std::nullopt)
{
    QStringList names;
    if (!node)
        return names;
    const QString name = node->text(QAccessible::Name);
    if (role ? node->role() == *role : wanted.contains(name))
        names.append(name);
    for (int index = 0; index < node->childCount(); ++index)
        names += namesInReadingOrder(node->child(index), wanted, role);
    return names;
}

// The widgets of `window` in the order Tab visits them, as QWidget::focusNextPrevChild picks.
QList<QWidget*> tabStops(QWidget* window)
{
    QList<QWidget*> stops;
    for (QWidget* widget = window->nextInFocusChain(); widget != window;
         widget = widget->nextInFocusChain()) {
        if (widget->isVisible() && widget->isEnabled() && !widget->focusProxy() &&
            (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && window->isAncestorOf(widget))
            stops.append(widget);
    }
    return stops;
}

QString describedStop(QWidget* widget)
{
    return QStringLiteral("%1 (%2)").arg(widget->accessibleName(),
                                         QString::fromLatin1(widget->metaObject()->className()));
}

bool showActive(QWidget& editor)
{
    editor.show();
    editor.activateWindow();
    return QTest::qWaitForWindowActive(&editor);
}

} // namespace

class JobEditorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setStyle(new Style); }
    void switchingModes_showsTheFormOrTheText_data();
    void switchingModes_showsTheFormOrTheText();
    void saveAndRevert_followTheDraft();
    void saveShortcutAndEscape_onlyWhereTheyApply_data();
    void saveShortcutAndEscape_onlyWhereTheyApply();
    void toggles_changeTheDraftButNeverLoseTheLastDay_data();
    void toggles_changeTheDraftButNeverLoseTheLastDay();
    void history_showsTheTwentyNewestRuns();
    void runAndClear_askFirstAndWaitForUnsavedChanges();
    void newInputs_keepTheDraftAndOpenHistoryOfTheSameJobOnly();
    void screenReader_namesEveryControlGroupAndPicker();
    void upcomingRuns_countFromTheEditorsClock();
    void history_opensAndIsReadInItsOrderByKeysAndScreenReaders_data();
    void history_opensAndIsReadInItsOrderByKeysAndScreenReaders();
    void runChart_drawsEveryRunAndUnfoldsTheOneClicked();
    void wheel_scrollsThePageUnlessAControlHasTheKeyboard_data();
    void wheel_scrollsThePageUnlessAControlHasTheKeyboard();
    void visualChangesThatComeBack_keepTheSavedText_data();
    void visualChangesThatComeBack_keepTheSavedText();
    void tab_followsTheEditorFromTopToBottom();
    void timeField_takesDigitsTypedIntoASection_data();
    void timeField_takesDigitsTypedIntoASection();
};

void JobEditorTest::switchingModes_showsTheFormOrTheText_data()
{
    QTest::addColumn<bool>("byScreenReader");
    QTest::newRow("clicked") << false;
    // The segments read as radio buttons or tabs, and their Toggle chooses the mode.
    QTest::newRow("chosen by a screen reader") << true;
}

void JobEditorTest::switchingModes_showsTheFormOrTheText()
{
    QFETCH(bool, byScreenReader);
    Calls calls;
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * 1-5"))), calls.actions());
    editor.show();
    auto* field = child<QLineEdit>(editor, "scheduleField");
    const QList<QAbstractButton*> segments =
        child(editor, "editorModePicker")->findChildren<QAbstractButton*>();
    QCOMPARE(segments.size(), 2);
    for (QAbstractButton* segment : segments) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(segment);
        QVERIFY(accessible->role() == QAccessible::RadioButton ||
                accessible->role() == QAccessible::PageTab);
        QCOMPARE(accessible->text(QAccessible::Name), segment->text());
    }
    QAccessibleInterface* form = QAccessible::queryAccessibleInterface(segments[0]);
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(segments[1]);
    const auto choose = [&](int segment) {
        if (byScreenReader)
            QVERIFY(toggleThroughAccessibility(segment == 0 ? form : text));
        else
            segments[segment]->click();
    };
    QVERIFY(child(editor, "frequencyPicker")->isVisible());
    QVERIFY(!field->isVisible());
    QVERIFY(form->state().checked);

    // Choosing the segment already chosen changes nothing.
    for (int round = 0; round < 2; ++round) {
        choose(1);
        QVERIFY(field->isVisible());
        QVERIFY(text->state().checked);
        QVERIFY(!form->state().checked);
    }
    QVERIFY(!child(editor, "frequencyPicker")->isVisible());
    QCOMPARE(field->text(), u"0 9 * * 1-5"_qs);

    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("0 9 1-7 * *"));
    QCOMPARE(child<QLabel>(editor, "scheduleExpression")->text(), u"0 9 1-7 * *"_qs);
    // The form cannot show the typed text and gives the saved days back, as they were written.
    choose(0);
    QVERIFY(!field->isVisible());
    QVERIFY(form->state().checked);
    QCOMPARE(child<QLabel>(editor, "scheduleExpression")->text(), u"0 9 * * 1-5"_qs);
}

void JobEditorTest::saveAndRevert_followTheDraft()
{
    Calls calls;
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * *"))), calls.actions());
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

void JobEditorTest::toggles_changeTheDraftButNeverLoseTheLastDay_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("byScreenReader");
    QTest::addColumn<bool>("isMonitored");
    QTest::addColumn<QString>("schedule");
    // The draft afterwards, as described(); and whether the control then shows itself checked.
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("isChecked");

    const auto row = [](const char* name, const char* control, bool byScreenReader,
                        const char* schedule, const char* expected, bool isChecked,
                        bool isMonitored = false) {
        QTest::newRow(name) << QString::fromLatin1(control) << byScreenReader << isMonitored
                            << QString::fromLatin1(schedule) << QString::fromLatin1(expected)
                            << isChecked;
    };
    row("a click adds a day", "weekdayButton5", false, "0 9 * * 1", "0 9 * * 1,5", true);
    row("a click keeps the last day", "weekdayButton1", false, "0 9 * * 1", "0 9 * * 1", true);
    row("a screen reader adds Sunday", "weekdayButton0", true, "0 9 * * 1", "0 9 * * 0,1", true);
    row("a screen reader removes a day", "weekdayButton1", true, "0 9 * * 1,5", "0 9 * * 5", false);
    row("a screen reader keeps the last day", "weekdayButton1", true, "0 9 * * 1", "0 9 * * 1",
        true);
    // The switches are no weekdays: a screen reader's Toggle reaches their own flag.
    row("the switch Job aktiv", "enabledSwitch", true, "0 9 * * *", "0 9 * * *; paused", false);
    row("the switch Ausführungsstatus", "monitoringSwitch", true, "0 9 * * *",
        "0 9 * * *; monitored", true);
    row("the switch Ausführungsstatus, monitored", "monitoringSwitch", true, "0 9 * * *",
        "0 9 * * *", false, true);
}

void JobEditorTest::toggles_changeTheDraftButNeverLoseTheLastDay()
{
    QFETCH(QString, control);
    QFETCH(bool, byScreenReader);
    QFETCH(bool, isMonitored);
    QFETCH(QString, schedule);
    QFETCH(QString, expected);
    QFETCH(bool, isChecked);
    const auto described = [](const CronJob& job) {
        return job.scheduleExpression + (job.isEnabled ? u""_qs : u"; paused"_qs) +
               (job.isMonitoringEnabled ? u"; monitored"_qs : u""_qs);
    };
    const JobEditorView::Inputs inputs =
        isMonitored ? monitored(backupJob(schedule), 2) : inputsFor(backupJob(schedule));
    Calls calls;
    JobEditorView editor(inputs, calls.actions());
    editor.show();
    const QByteArray name = control.toLatin1();
    QAccessibleInterface* accessible = accessibleOf(editor, name.constData());
    QVERIFY(accessible);
    if (const int weekday = control.back().digitValue(); control.startsWith(u"weekday"))
        QCOMPARE(accessible->text(QAccessible::Name),
                 QLocale(QLocale::German).dayName(weekday == 0 ? 7 : weekday));
    else
        QCOMPARE(accessible->role(), QAccessible::CheckBox);
    const auto toggle = [&] {
        if (byScreenReader)
            QVERIFY(toggleThroughAccessibility(accessible));
        else
            button(editor, name.constData())->click();
    };

    toggle();
    QCOMPARE(child<QLabel>(editor, "scheduleExpression")->text(), expected.section(u';', 0, 0));
    const bool isChanged = expected != described(inputs.originalJob);
    QCOMPARE(editor.hasUnsavedChanges(), isChanged);
    if (isChanged)
        QCOMPARE(described(*editor.takeJobToSave()), expected);
    // What the control shows is what the draft holds, also where the change was undone.
    QCOMPARE(bool(accessible->state().checked), isChecked);
    QCOMPARE(button(editor, name.constData())->isChecked(), isChecked);
    if (!isChanged)
        return;
    // A second toggle takes the change back.
    toggle();
    QCOMPARE(bool(accessible->state().checked), !isChecked);
    QVERIFY(!editor.hasUnsavedChanges());
}

void JobEditorTest::history_showsTheTwentyNewestRuns()
{
    Calls calls;
    JobEditorView editor(monitored(backupJob(QStringLiteral("@daily")), 35), calls.actions());
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

void JobEditorTest::runAndClear_askFirstAndWaitForUnsavedChanges()
{
    Calls calls;
    JobEditorView editor(monitored(backupJob(QStringLiteral("@daily")), 3), calls.actions());
    editor.show();
    QAbstractButton* run = button(editor, "runNowButton");
    QCOMPARE(run->toolTip(), u"Cronjob einmal sofort ausführen"_qs);

    for (const auto& [name, count] :
         {std::pair("runNowButton", &calls.runs), std::pair("clearHistoryButton", &calls.clears)}) {
        button(editor, name)->click();
        // The run gets cron's environment, so the question no longer warns that it may differ.
        if (count == &calls.runs)
            QCOMPARE(child<QMessageBox>(editor, "confirmationDialog")->informativeText(),
                     u"Der gespeicherte Befehl wird sofort gestartet, mit derselben Umgebung, "
                     u"die cron ihm gibt."_qs);
        answer(editor, "cancelButton");
        QVERIFY2(*count == 0, name);
        button(editor, name)->click();
        answer(editor, "confirmButton");
        QVERIFY2(*count == 1, name);
    }

    QTest::keyClicks(child(editor, "nameField"), QStringLiteral("2"));
    QVERIFY(!run->isEnabled());
    QCOMPARE(run->toolTip(), u"Sichere zuerst deine Änderungen."_qs);
}

// A refresh of the same job keeps what was typed and the open history; another job starts
// afresh, with its history folded.
void JobEditorTest::newInputs_keepTheDraftAndOpenHistoryOfTheSameJobOnly()
{
    Calls calls;
    const CronJob first = backupJob(QStringLiteral("0 9 * * *"));
    JobEditorView editor(monitored(first, 3), calls.actions());
    editor.show();
    auto* name = child<QLineEdit>(editor, "nameField");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Draft"));
    button(editor, "historyHeader")->click();
    QVERIFY(historyList(editor)->isVisible());

    JobEditorView::Inputs saving = monitored(first, 4);
    saving.isSaving = true;
    editor.setInputs(saving);
    QCOMPARE(name->text(), u"Draft"_qs);
    QVERIFY(!button(editor, "saveButton")->isEnabled());
    QVERIFY(historyList(editor)->isVisible());

    CronJob second = backupJob(QStringLiteral("@reboot"));
    second.name = QStringLiteral("Other");
    editor.setInputs(monitored(second, 3));
    QCOMPARE(name->text(), u"Other"_qs);
    QCOMPARE(editor.title(), u"Other"_qs);
    QVERIFY(child(editor, "scheduleField")->isVisibleTo(&editor));
    QVERIFY(!historyList(editor)->isVisible());
    QVERIFY(!button(editor, "historyHeader")->isChecked());
}

// Every control has a name, whatever frequency shows which rows; the cards are named groups,
// the pickers are labelled by their captions, and the dividing lines are passed over.
void JobEditorTest::screenReader_namesEveryControlGroupAndPicker()
{
    Calls calls;
    // Every five minutes shows the interval row; monitoring shows the log policy.
    JobEditorView editor(monitored(backupJob(QStringLiteral("*/5 * * * *")), 2), calls.actions());
    editor.show();
    const QStringList groups = namesInReadingOrder(QAccessible::queryAccessibleInterface(&editor),
                                                   {}, QAccessible::Grouping);
    for (const QString& card :
         {QStringLiteral("Zeitplan"), QStringLiteral("Befehl"), QStringLiteral("Ausführungen")})
        QVERIFY2(groups.count(card) == 1, qPrintable(groups.join(u", ")));
    for (const auto& [picker, caption] :
         {std::pair("frequencyPicker", "Wiederholung"), std::pair("intervalPicker", "Intervall"),
          std::pair("logPolicyPicker", "Protokoll")}) {
        auto* combo = child<QComboBox>(editor, picker);
        QVERIFY2(combo && combo->isVisibleTo(&editor), picker);
        QStringList labels;
        for (const auto& [label, relation] :
             QAccessible::queryAccessibleInterface(combo)->relations(QAccessible::Label))
            labels << label->text(QAccessible::Name);
        QCOMPARE(labels, QStringList{QString::fromUtf8(caption)});
    }
    int lines = 0;
    for (QFrame* frame : editor.findChildren<QFrame*>()) {
        if (frame->frameShape() != QFrame::HLine && frame->frameShape() != QFrame::VLine)
            continue;
        ++lines;
        QCOMPARE(frame->focusPolicy(), Qt::NoFocus);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(frame);
        // A screen reader passes over a separator; a nameless frame it would announce.
        QCOMPARE(accessible->role(), QAccessible::Separator);
        QVERIFY(accessible->text(QAccessible::Name).isEmpty());
        QCOMPARE(accessible->childCount(), 0);
        QVERIFY(accessible->actionInterface() == nullptr ||
                accessible->actionInterface()->actionNames().isEmpty());
    }
    // The schedule's summary and the execution panel's status each sit below a line.
    QVERIFY2(lines >= 2, qPrintable(QString::number(lines)));

    button(editor, "historyHeader")->click();
    clickRun(editor, 0);
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
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * *"))), calls.actions(),
                         [now] { return now; });
    QStringList shown;
    for (const QLabel* label : child(editor, "upcomingRuns")->findChildren<QLabel*>())
        shown.append(label->text());
    QVERIFY2(shown.contains(UpcomingRuns::texts(QStringLiteral("0 9 * * *"), now).front()),
             qPrintable(shown.join(u'|')));
}

void JobEditorTest::history_opensAndIsReadInItsOrderByKeysAndScreenReaders_data()
{
    QTest::addColumn<int>("key"); // none: the screen reader's Toggle

    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Toggle of a screen reader") << 0;
}

void JobEditorTest::history_opensAndIsReadInItsOrderByKeysAndScreenReaders()
{
    QFETCH(int, key);
    Calls calls;
    const QList<JobExecutionRecord> runs = history(3);
    JobEditorView::Inputs inputs = monitored(backupJob(QStringLiteral("0 9 * * *")), 0);
    inputs.executionHistory = runs.mid(1);
    JobEditorView editor(inputs, calls.actions());
    editor.show();
    // The header reads as a button that unfolds, not as a box to tick.
    QAccessibleInterface* header = accessibleOf(editor, "historyHeader");
    QVERIFY(header && header->state().expandable && !header->state().checkable);
    const auto unfold = [&](bool isOpen) {
        QVERIFY(bool(header->state().expanded) != isOpen);
        button(editor, "historyHeader")->setFocus();
        if (key == 0)
            QVERIFY(toggleThroughAccessibility(header));
        else
            QTest::keyClick(button(editor, "historyHeader"), Qt::Key(key));
        QCOMPARE(bool(header->state().expanded), isOpen);
        QCOMPARE(historyList(editor)->isVisible(), isOpen);
    };
    unfold(true);
    if (QTest::currentTestFailed())
        return;
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

    // A screen reader's Press unfolds the run it names, and only that one.
    QAccessibleInterface* readList = QAccessible::queryAccessibleInterface(list);
    QCOMPARE(readList->childCount(), 3);
    QAccessibleInterface* run = readList->child(1);
    QCOMPARE(readList->indexOfChild(run), 1);
    QVERIFY(run->state().expandable);
    QVERIFY(!run->state().expanded);
    QAccessibleActionInterface* actions = run->actionInterface();
    QVERIFY(actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    const auto isWithoutOutputShown = [&] {
        auto* none = editor.findChild<QWidget*>(QStringLiteral("recordWithoutOutput"));
        return none && none->isVisible();
    };
    for (const bool isOpen : {true, false}) {
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(bool(run->state().expanded), isOpen);
        QTRY_COMPARE(isWithoutOutputShown(), isOpen);
        QVERIFY(!readList->child(0)->state().expanded);
    }

    // From the keyboard, Space unfolds the current run, whose output is then read out with it.
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(readList->child(0)->text(QAccessible::Description), u"done"_qs);
    QVERIFY(child(editor, "recordOutput")->isVisible());
    unfold(false);
}

// The chart draws more runs than the history lists: a click on an older one lists the history
// down to it and unfolds it there.
void JobEditorTest::runChart_drawsEveryRunAndUnfoldsTheOneClicked()
{
    Calls calls;
    JobEditorView::Inputs inputs = monitored(backupJob(QStringLiteral("@daily")), 35);
    inputs.runs = inputs.executionHistory;
    JobEditorView editor(inputs, calls.actions());
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
    QVERIFY(showActive(editor));
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
    JobEditorView editor(inputsFor(backupJob(expression)), calls.actions());
    QVERIFY(showActive(editor));
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

// Each stop lies below the one before or beside it further right; never above it.
void JobEditorTest::tab_followsTheEditorFromTopToBottom()
{
    Calls calls;
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * *"))), calls.actions());
    editor.resize(900, 1400);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    const QList<QWidget*> stops = tabStops(&editor);
    QVERIFY(stops.size() > 5);
    QStringList names;
    for (QWidget* stop : stops)
        names.append(describedStop(stop));
    for (qsizetype index = 1; index < stops.size(); ++index) {
        const QRect before(stops[index - 1]->mapTo(&editor, QPoint()), stops[index - 1]->size());
        const QRect after(stops[index]->mapTo(&editor, QPoint()), stops[index]->size());
        const bool isAbove = after.bottom() < before.top();
        const bool sameRow = after.top() <= before.bottom() && before.top() <= after.bottom();
        const bool isLeftInSameRow = sameRow && after.right() < before.left();
        QVERIFY2(!isAbove && !isLeftInSameRow,
                 qPrintable(QStringLiteral("%1 after %2 in: %3")
                                .arg(describedStop(stops[index]), describedStop(stops[index - 1]),
                                     names.join(u", "))));
    }
    QCOMPARE(stops.indexOf(child(editor, "timePicker")),
             stops.indexOf(child(editor, "frequencyPicker")) + 1);
}

void JobEditorTest::timeField_takesDigitsTypedIntoASection_data()
{
    QTest::addColumn<bool>("intoMinute");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("expression");

    QTest::newRow("hour, two digits") << false << u"14"_qs << u"0 14 * * *"_qs;
    QTest::newRow("hour, one digit") << false << u"7"_qs << u"0 7 * * *"_qs;
    QTest::newRow("minute, two digits") << true << u"45"_qs << u"45 9 * * *"_qs;
    QTest::newRow("minute, leading zero") << true << u"05"_qs << u"5 9 * * *"_qs;
}

void JobEditorTest::timeField_takesDigitsTypedIntoASection()
{
    QFETCH(bool, intoMinute);
    QFETCH(QString, digits);
    QFETCH(QString, expression);

    Calls calls;
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * *"))), calls.actions());
    editor.resize(900, 1400);
    QVERIFY(showActive(editor));
    auto* time = child<QTimeEdit>(editor, "timePicker");
    QVERIFY(time && time->isVisible());
    auto* text = time->findChild<QLineEdit*>();

    // "09:00": the hour is the first two characters, the minute the last two.
    const QString shown = text->text();
    const int position = intoMinute ? int(shown.size()) - 1 : 1;
    text->setCursorPosition(0);
    const int start = text->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    const QPoint click(start + QFontMetrics(text->font()).horizontalAdvance(shown.left(position)),
                       text->height() / 2);
    QTest::mouseClick(text, Qt::LeftButton, {}, click);
    QCOMPARE(QApplication::focusWidget(), time);
    QTest::keyClicks(time, digits);
    QTest::keyClick(time, Qt::Key_Tab);

    QCOMPARE(time->time(), QTime::fromString(expression.section(u' ', 1, 1) + u':' +
                                                 expression.section(u' ', 0, 0),
                                             QStringLiteral("H:m")));
    button(editor, "saveButton")->click();
    QTRY_COMPARE(calls.saved.size(), 1);
    QCOMPARE(calls.saved.front().scheduleExpression, expression);
}

QTEST_MAIN(JobEditorTest)
#include "tst_JobEditor.moc"
