#include "EditorActions.h"
#include "JobEditorView.h"
#include "JobSketch.h"
#include "RunHistory.h"
#include "Style.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace Tempolane;
using Tempolane::Testing::backupJob;

namespace {

JobEditorView::Inputs inputsFor(const CronJob& original, int records = 0)
{
    JobEditorView::Inputs inputs;
    inputs.originalJob = original;
    inputs.executionHistory = Testing::dailyRuns(records);
    if (records > 0) {
        inputs.originalJob.isMonitoringEnabled = true;
        inputs.executionSummary = {JobExecutionState::succeeded(), inputs.executionHistory.value(0),
                                   std::nullopt};
    }
    return inputs;
}

QAccessibleInterface* accessibleOf(QWidget& root, const QString& name)
{
    auto* widget = root.findChild<QWidget*>(name);
    if (!widget)
        qWarning("no child named %s", qPrintable(name));
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
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

QString expression(QWidget& root)
{
    return root.findChild<QLabel*>(QStringLiteral("scheduleExpression"))->text();
}

} // namespace

class ControlAccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void switches_changeTheDraftThroughTheirToggleAction_data();
    void switches_changeTheDraftThroughTheirToggleAction();
    void weekdays_changeTheDraftButNeverLoseTheLastDay_data();
    void weekdays_changeTheDraftButNeverLoseTheLastDay();
    void segments_readAsRadioButtonsAndChooseTheMode();
    void disclosure_reportsWhetherItIsExpanded();
    void disclosure_opensWithTheKeysOfAButton_data();
    void disclosure_opensWithTheKeysOfAButton();
    void runs_unfoldThroughTheirPressAction();
};

void ControlAccessibilityTest::initTestCase()
{
    QApplication::setStyle(new Style);
}

void ControlAccessibilityTest::switches_changeTheDraftThroughTheirToggleAction_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isMonitored");

    QTest::newRow("Job aktiv") << u"enabledSwitch"_qs << false;
    QTest::newRow("Ausführungsstatus") << u"monitoringSwitch"_qs << false;
    QTest::newRow("Ausführungsstatus of a monitored job") << u"monitoringSwitch"_qs << true;
}

void ControlAccessibilityTest::switches_changeTheDraftThroughTheirToggleAction()
{
    QFETCH(QString, name);
    QFETCH(bool, isMonitored);
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * *")), isMonitored ? 2 : 0),
                         Testing::idleEditorActions());
    editor.show();
    const auto flag = [&](const CronJob& job) {
        return name == u"enabledSwitch"_qs ? job.isEnabled : job.isMonitoringEnabled;
    };
    const bool before = name == u"enabledSwitch"_qs || isMonitored;
    QAccessibleInterface* accessible = accessibleOf(editor, name);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::CheckBox);
    QCOMPARE(bool(accessible->state().checked), before);

    QVERIFY(toggleThroughAccessibility(accessible));
    const std::optional<CronJob> changed = editor.takeJobToSave();
    QVERIFY(changed);
    QCOMPARE(flag(*changed), !before);
    QCOMPARE(bool(accessible->state().checked), !before);

    QVERIFY(toggleThroughAccessibility(accessible));
    QCOMPARE(bool(accessible->state().checked), before);
    QVERIFY(!editor.hasUnsavedChanges());
}

void ControlAccessibilityTest::weekdays_changeTheDraftButNeverLoseTheLastDay_data()
{
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<int>("weekday");
    QTest::addColumn<QString>("expected");

    QTest::newRow("adds a day") << u"0 9 * * 1"_qs << 5 << u"0 9 * * 1,5"_qs;
    QTest::newRow("adds Sunday") << u"0 9 * * 1"_qs << 0 << u"0 9 * * 0,1"_qs;
    QTest::newRow("removes a day") << u"0 9 * * 1,5"_qs << 1 << u"0 9 * * 5"_qs;
    QTest::newRow("keeps the last day") << u"0 9 * * 1"_qs << 1 << u"0 9 * * 1"_qs;
}

void ControlAccessibilityTest::weekdays_changeTheDraftButNeverLoseTheLastDay()
{
    QFETCH(QString, schedule);
    QFETCH(int, weekday);
    QFETCH(QString, expected);
    JobEditorView editor(inputsFor(backupJob(schedule)), Testing::idleEditorActions());
    editor.show();
    QAccessibleInterface* accessible =
        accessibleOf(editor, QStringLiteral("weekdayButton%1").arg(weekday));
    QVERIFY(accessible);

    QVERIFY(toggleThroughAccessibility(accessible));
    QCOMPARE(expression(editor), expected);
    QCOMPARE(editor.hasUnsavedChanges(), expected != schedule);
    if (expected != schedule)
        QCOMPARE(editor.takeJobToSave()->scheduleExpression, expected);
    // What the button shows is what the draft holds, also where the change was undone.
    QCOMPARE(bool(accessible->state().checked),
             expected.section(u' ', 4).split(u',').contains(QString::number(weekday)));
}

void ControlAccessibilityTest::segments_readAsRadioButtonsAndChooseTheMode()
{
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("0 9 * * 1-5"))),
                         Testing::idleEditorActions());
    editor.show();
    auto* field = editor.findChild<QLineEdit*>(QStringLiteral("scheduleField"));
    const QList<QAbstractButton*> segments =
        editor.findChild<QWidget*>(QStringLiteral("editorModePicker"))
            ->findChildren<QAbstractButton*>();
    QCOMPARE(segments.size(), 2);
    for (QAbstractButton* segment : segments) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(segment);
        QVERIFY(accessible->role() == QAccessible::RadioButton ||
                accessible->role() == QAccessible::PageTab);
        QCOMPARE(accessible->text(QAccessible::Name), segment->text());
    }
    QAccessibleInterface* form = QAccessible::queryAccessibleInterface(segments[0]);
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(segments[1]);
    QVERIFY(form->state().checked);

    QVERIFY(toggleThroughAccessibility(text));
    QVERIFY(field->isVisible());
    QVERIFY(text->state().checked);
    QVERIFY(!form->state().checked);

    // Choosing the segment already chosen changes nothing.
    QVERIFY(toggleThroughAccessibility(text));
    QVERIFY(field->isVisible());
    QVERIFY(text->state().checked);

    QVERIFY(toggleThroughAccessibility(form));
    QVERIFY(!field->isVisible());
    QVERIFY(form->state().checked);
}

void ControlAccessibilityTest::disclosure_reportsWhetherItIsExpanded()
{
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("@daily")), 2),
                         Testing::idleEditorActions());
    editor.show();
    QAccessibleInterface* accessible = accessibleOf(editor, QStringLiteral("historyHeader"));
    QVERIFY(accessible);
    QVERIFY(accessible->state().expandable);
    QVERIFY(!accessible->state().expanded);
    QVERIFY(!accessible->state().checkable);
    auto* runs = editor.findChild<QWidget*>(QStringLiteral("executionHistoryList"));

    QVERIFY(toggleThroughAccessibility(accessible));
    QVERIFY(accessible->state().expanded);
    QVERIFY(runs->isVisible());

    QVERIFY(toggleThroughAccessibility(accessible));
    QVERIFY(!accessible->state().expanded);
    QVERIFY(!runs->isVisible());
}

void ControlAccessibilityTest::disclosure_opensWithTheKeysOfAButton_data()
{
    QTest::addColumn<int>("key");

    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
}

void ControlAccessibilityTest::disclosure_opensWithTheKeysOfAButton()
{
    QFETCH(int, key);
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("@daily")), 1),
                         Testing::idleEditorActions());
    editor.show();
    auto* header = editor.findChild<QAbstractButton*>(QStringLiteral("historyHeader"));
    header->setFocus();

    QTest::keyClick(header, Qt::Key(key));
    QVERIFY(editor.findChild<QWidget*>(QStringLiteral("executionHistoryList"))->isVisible());
    QTest::keyClick(header, Qt::Key(key));
    QVERIFY(!editor.findChild<QWidget*>(QStringLiteral("executionHistoryList"))->isVisible());
}

void ControlAccessibilityTest::runs_unfoldThroughTheirPressAction()
{
    JobEditorView editor(inputsFor(backupJob(QStringLiteral("@daily")), 3),
                         Testing::idleEditorActions());
    editor.show();
    QVERIFY(toggleThroughAccessibility(accessibleOf(editor, QStringLiteral("historyHeader"))));
    QAccessibleInterface* list = accessibleOf(editor, QStringLiteral("executionHistoryList"));
    QVERIFY(list);
    QCOMPARE(list->childCount(), 3);
    QAccessibleInterface* run = list->child(1);
    QVERIFY(run);
    QCOMPARE(list->indexOfChild(run), 1);
    QVERIFY(!run->text(QAccessible::Name).isEmpty());
    QVERIFY(run->state().expandable);
    QVERIFY(!run->state().expanded);
    QAccessibleActionInterface* actions = run->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    const auto shownOutput = [&] {
        auto* none = editor.findChild<QWidget*>(QStringLiteral("recordWithoutOutput"));
        return none && none->isVisible();
    };

    actions->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(run->state().expanded);
    QTRY_VERIFY(shownOutput());
    QVERIFY(!list->child(0)->state().expanded);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(!run->state().expanded);
    QTRY_VERIFY(!shownOutput());
}

QTEST_MAIN(ControlAccessibilityTest)
#include "tst_ControlAccessibility.moc"
