#include "DataTable.h"
#include "JobEditorModel.h"
#include "JobSketch.h"
#include "UpcomingRuns.h"
#include "VisualScheduleChoices.h"

#include <QTest>

using namespace Tempolane;
using Tempolane::Testing::backupJob;

namespace {

using InputsChange = std::function<void(JobEditorInputs&)>;
using Field = JobEditorModel::Field;

VisualSchedule weekly(std::set<int> weekdays)
{
    VisualSchedule schedule;
    schedule.frequency = ScheduleFrequency::weekly;
    schedule.weekdays = std::move(weekdays);
    return schedule;
}

// What the user does in the editor, step by step, parted by "; ": "name TEXT", "command TEXT",
// "schedule TEXT", "weekly 1,3" (weekdays picked in the form), "syntax" or "visual" (the
// schedule's editor), "paused", "monitored", "unlogged", "revert", "saving", "leave name",
// "leave command", "save" (the attempt). Answers what the last step changed.
JobEditorChanges edited(JobEditorModel& model, const QString& steps)
{
    JobEditorChanges changed;
    for (const QString& step : steps.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const QString verb = step.section(u' ', 0, 0);
        const QString text = step.section(u' ', 1);
        if (verb == u"name")
            changed = model.setName(text);
        else if (verb == u"command")
            changed = model.setCommand(text);
        else if (verb == u"schedule")
            changed = model.setScheduleExpression(text);
        else if (verb == u"weekly") {
            std::set<int> days;
            for (const QString& day : text.split(u','))
                days.insert(day.toInt());
            changed = model.setVisualSchedule(weekly(days));
        } else if (verb == u"syntax" || verb == u"visual")
            changed = model.setEditorMode(verb == u"syntax" ? ScheduleEditorMode::syntax
                                                            : ScheduleEditorMode::visual);
        else if (verb == u"paused")
            changed = model.setEnabled(false);
        else if (verb == u"monitored")
            changed = model.setMonitoringEnabled(true);
        else if (verb == u"unlogged")
            changed = model.setLogPolicy(ExecutionLogPolicy::none);
        else if (verb == u"revert")
            changed = model.revert();
        else if (verb == u"saving")
            changed = model.setSaving(true);
        else if (verb == u"leave")
            changed = model.leave(text == u"name" ? DraftField::name : DraftField::command);
        else if (verb == u"save")
            changed = model.attemptSave();
        else
            QTest::qFail(qPrintable(u"no such step: "_qs + step), __FILE__, __LINE__);
    }
    return changed;
}

// The backup job of these tests, changed as the store may change it: "paused", "monitored",
// "errors only" (its log policy), "name TEXT", "command TEXT", "schedule TEXT", parted by "; ".
CronJob changedJob(CronJob job, const QString& changes)
{
    for (const QString& change : changes.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const QString text = change.section(u' ', 1);
        if (change == u"paused")
            job.isEnabled = false;
        else if (change == u"monitored")
            job.isMonitoringEnabled = true;
        else if (change == u"errors only")
            job.logPolicy = ExecutionLogPolicy::errorsOnly;
        else if (change.startsWith(u"name "))
            job.name = text;
        else if (change.startsWith(u"command "))
            job.command = text;
        else if (change.startsWith(u"schedule "))
            job.scheduleExpression = text;
        else
            QTest::qFail(qPrintable(u"no such change: "_qs + change), __FILE__, __LINE__);
    }
    return job;
}

} // namespace

Q_DECLARE_METATYPE(InputsChange)
Q_DECLARE_METATYPE(JobEditorChanges)
Q_DECLARE_METATYPE(ScheduleEditorMode)
Q_DECLARE_METATYPE(Field)
Q_DECLARE_METATYPE(std::optional<QString>)

class JobEditorRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldMessage_data();
    void fieldMessage();
    void shownMessage_data();
    void shownMessage();
    void scheduleEditing_data();
    void scheduleEditing();
    void canSave_data();
    void canSave();
    void save_handsOnTrimmedCopyAndKeepsTheDraftUntilTheStoreHasIt();
    void storeChange_reachesEveryFieldTheUserLeftAlone_data();
    void storeChange_reachesEveryFieldTheUserLeftAlone();
    void title_isTheTrimmedNameElseTheCommandsProgram();
    void changes_nameThePartsAnEditChanged_data();
    void changes_nameThePartsAnEditChanged();
    void newInputs_restartTheDraftOnlyForAnotherJob_data();
    void newInputs_restartTheDraftOnlyForAnotherJob();
    void buttons_offerRevertOnlyForAChangedSavedJob();
    void minuteIntervalEntries_keepAnIntervalNotOffered();
    void toggledWeekday_neverEmptiesTheSet();
    void timeOfDayFormat_hasNoSeconds();
    void upcomingRuns_data();
    void upcomingRuns();
};

void JobEditorRulesTest::fieldMessage_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isMonitored");
    QTest::addColumn<std::optional<QString>>("expected");

    const auto row = [](const QString& name, Field field, const QString& text, bool isMonitored,
                        const QString& expected = {}) {
        QTest::newRow(qPrintable(name))
            << field << text << isMonitored
            << (expected.isEmpty() ? std::optional<QString>() : std::optional(expected));
    };
    using enum JobEditorModel::Field;
    for (const QStringList& cells :
         Testing::dataTable(QStringLiteral("editor-field-messages.tsv"), 5))
        row(cells[0],
            cells[1] == u"name"      ? name
            : cells[1] == u"command" ? command
                                     : schedule,
            cells[2], Testing::isYes(cells[3]), cells[4]);
    // Rows too long to write out.
    const QString tooLong = QStringLiteral("Der Name darf höchstens 80 Zeichen lang sein.");
    // e + combining acute: two code units, one character.
    const QString accented = u"e\u0301"_qs;
    row("a name of 80 characters", name, QString(80, u'x'), false);
    row("a name of 81 characters", name, QString(81, u'x'), false, tooLong);
    row("80 characters around blanks", name, "  " + QString(80, u'x') + "  ", false);
    row("80 accented characters", name, accented.repeated(80), false);
    row("81 accented characters", name, accented.repeated(81), false, tooLong);
    row("a command too long to monitor", command, QString(900, u'x'), true,
        "Dieser Befehl ist zu lang für den Ausführungsstatus. Deaktiviere den "
        "Ausführungsstatus oder kürze den Befehl.");
    row("a long command, not monitored", command, QString(900, u'x'), false);
}

void JobEditorRulesTest::fieldMessage()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(bool, isMonitored);
    QFETCH(std::optional<QString>, expected);

    JobEditorModel model(backupJob(QStringLiteral("0 9 * * *")), false, Testing::runnerPath());
    model.setMonitoringEnabled(isMonitored);
    switch (field) {
    case Field::name:
        model.setName(text);
        QCOMPARE(model.nameMessage(), expected);
        break;
    case Field::command:
        model.setCommand(text);
        QCOMPARE(model.commandMessage(), expected);
        break;
    case Field::schedule:
        model.setScheduleExpression(text);
        QCOMPARE(model.scheduleMessage(), expected);
        break;
    }
}

void JobEditorRulesTest::shownMessage_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<Field>("field");
    QTest::addColumn<bool>("isShown");

    for (const QStringList& row :
         Testing::dataTable(QStringLiteral("editor-shown-messages.tsv"), 5))
        QTest::newRow(qPrintable(row[0]))
            << (row[1] == u"new") << row[2] << (row[3] == u"name" ? Field::name : Field::command)
            << Testing::isYes(row[4]);
}

void JobEditorRulesTest::shownMessage()
{
    QFETCH(bool, isNew);
    QFETCH(QString, steps);
    QFETCH(Field, field);

    JobEditorModel model(backupJob(QStringLiteral("0 9 * * *")), isNew);
    edited(model, steps);
    QTEST(
        (field == Field::name ? model.shownNameMessage() : model.shownCommandMessage()).has_value(),
        "isShown");
}

void JobEditorRulesTest::scheduleEditing_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<ScheduleEditorMode>("mode");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("form");

    for (const QStringList& row : Testing::dataTable(QStringLiteral("editor-schedules.tsv"), 6))
        QTest::newRow(qPrintable(row[0]))
            << row[1] << row[2]
            << (row[3] == u"syntax" ? ScheduleEditorMode::syntax : ScheduleEditorMode::visual)
            << row[4] << row[5];
}

void JobEditorRulesTest::scheduleEditing()
{
    QFETCH(QString, saved);
    QFETCH(QString, steps);
    QFETCH(QString, form);

    JobEditorModel model(backupJob(saved), false);
    edited(model, steps);
    QTEST(model.editorMode(), "mode");
    QTEST(model.draft().scheduleExpression, "expression");
    // The whole form, the fields its frequency hides too.
    const auto expected = VisualSchedule::recognize(form);
    QVERIFY(expected);
    QVERIFY(model.visualSchedule() == *expected);
}

void JobEditorRulesTest::canSave_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("hasUnsavedChanges");
    QTest::addColumn<bool>("canSave");

    for (const QStringList& row : Testing::dataTable(QStringLiteral("editor-can-save.tsv"), 5))
        QTest::newRow(qPrintable(row[0]))
            << (row[1] == u"new") << row[2] << Testing::isYes(row[3]) << Testing::isYes(row[4]);
}

void JobEditorRulesTest::canSave()
{
    QFETCH(bool, isNew);
    QFETCH(QString, steps);

    JobEditorModel model(backupJob(QStringLiteral("0 9 * * *")), isNew);
    edited(model, steps);
    QTEST(model.hasUnsavedChanges(), "hasUnsavedChanges");
    QTEST(model.canSave(), "canSave");
}

void JobEditorRulesTest::save_handsOnTrimmedCopyAndKeepsTheDraftUntilTheStoreHasIt()
{
    const CronJob saved = backupJob(QStringLiteral("@daily"));
    JobEditorModel model(saved, false);
    model.setName(QStringLiteral("  Nightly backup\n"));
    model.setScheduleExpression(QStringLiteral(" 0 3 * * * "));
    model.setCommand(QStringLiteral("\t/usr/local/bin/backup.sh --all \n"));

    const CronJob copy = model.jobToSave();
    QCOMPARE(copy.name, u"Nightly backup"_qs);
    QCOMPARE(copy.scheduleExpression, u"0 3 * * *"_qs);
    QCOMPARE(copy.command, u"/usr/local/bin/backup.sh --all"_qs);
    QCOMPARE(copy.id, saved.id);
    QCOMPARE(model.draft().name, u"  Nightly backup\n"_qs);

    // A refresh that does not hold the save yet changes nothing of the draft.
    model.setOriginal(saved);
    QCOMPARE(model.draft().name, u"  Nightly backup\n"_qs);
    // The store now holds the save: the form shows it as saved.
    model.setOriginal(copy);
    QVERIFY(!model.hasUnsavedChanges());
    QCOMPARE(model.draft().name, u"Nightly backup"_qs);

    // Typing after pressing save keeps what was typed.
    model.setName(QStringLiteral("Backup "));
    const CronJob second = model.jobToSave();
    model.setName(QStringLiteral("Backup a"));
    model.setOriginal(second);
    QCOMPARE(model.draft().name, u"Backup a"_qs);
    QVERIFY(model.hasUnsavedChanges());
}

void JobEditorRulesTest::storeChange_reachesEveryFieldTheUserLeftAlone_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("storeChange");
    // The draft afterwards, as a change of the job the editor started from.
    QTest::addColumn<QString>("expectedDraft");
    QTest::addColumn<bool>("hasUnsavedChanges");
    QTest::addColumn<ScheduleEditorMode>("editorMode");

    for (const QStringList& row : Testing::dataTable(QStringLiteral("editor-store-changes.tsv"), 6))
        QTest::newRow(qPrintable(row[0]))
            << row[1] << row[2] << row[3] << Testing::isYes(row[4])
            << (row[5] == u"syntax" ? ScheduleEditorMode::syntax : ScheduleEditorMode::visual);
}

void JobEditorRulesTest::storeChange_reachesEveryFieldTheUserLeftAlone()
{
    QFETCH(QString, steps);
    QFETCH(QString, storeChange);
    QFETCH(QString, expectedDraft);
    QFETCH(bool, hasUnsavedChanges);
    QFETCH(ScheduleEditorMode, editorMode);

    const CronJob opened = backupJob(QStringLiteral("0 9 * * *"));
    JobEditorModel model(opened, false);
    edited(model, steps);
    model.setOriginal(changedJob(opened, storeChange));

    const CronJob expected = changedJob(opened, expectedDraft);
    QVERIFY(model.draft().settings() == expected.settings());
    QCOMPARE(model.hasUnsavedChanges(), hasUnsavedChanges);
    QCOMPARE(model.canSave(), hasUnsavedChanges);
    QCOMPARE(model.editorMode(), editorMode);
    if (editorMode == ScheduleEditorMode::visual)
        QCOMPARE(model.visualSchedule().expression(), expected.scheduleExpression);
}

void JobEditorRulesTest::title_isTheTrimmedNameElseTheCommandsProgram()
{
    const auto title = [](bool isNew, const QString& name) {
        return JobEditorModel(backupJob(QStringLiteral("@daily"), name), isNew).title();
    };
    QCOMPARE(title(true, u"Backup"_qs), u"Neuer Cronjob"_qs);
    QCOMPARE(title(false, u"  Backup\n"_qs), u"Backup"_qs);
    QCOMPARE(title(false, u" \t"_qs), u"backup.sh"_qs);
}

void JobEditorRulesTest::changes_nameThePartsAnEditChanged_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<JobEditorChanges>("changes"); // of the last step

    const auto row = [](const char* name, bool isNew, const char* steps, JobEditorChanges changes) {
        QTest::newRow(name) << isNew << QString::fromUtf8(steps) << changes;
    };
    using enum JobEditorChange;
    const JobEditorChanges draftState = unsavedChanges | canSave;
    row("a keystroke in the schedule", false, "schedule 0 9 * *", schedule | unsavedChanges);
    row("the same text again", false, "schedule 0 9 * * *", {});
    row("typing the name", false, "name Backups", name | title | draftState);
    row("a blank after the name keeps the title", false, "name Backup ", name | draftState);
    row("monitoring switched on", false, "monitored", executionSettings | draftState);
    row("the form picks a weekday", false, "weekly 1", visualSchedule | schedule | draftState);
    row("to the text", false, "syntax", editorMode);
    row("back to the form, which cannot show the text", false,
        "syntax; schedule 0 9 1-7 * *; visual", editorMode | schedule | draftState);
    row("revert", false, "name Backups; revert", name | title | draftState);
    row("leaving a new job's empty name", true, "name ; leave name", name);
    row("trying to save a new job with an empty name", true, "name ; save", name);
}

void JobEditorRulesTest::changes_nameThePartsAnEditChanged()
{
    QFETCH(bool, isNew);
    QFETCH(QString, steps);

    JobEditorModel model(backupJob(QStringLiteral("0 9 * * *")), isNew);
    QTEST(edited(model, steps), "changes");
}

void JobEditorRulesTest::newInputs_restartTheDraftOnlyForAnotherJob_data()
{
    QTest::addColumn<bool>("wasNew");
    QTest::addColumn<InputsChange>("change");
    QTest::addColumn<bool>("restarts");
    QTest::addColumn<JobEditorChanges>("changes");

    using enum JobEditorChange;
    const InputsChange nothing = [](JobEditorInputs&) {};
    QTest::newRow("the same job again") << false << nothing << false << JobEditorChanges(time);
    QTest::newRow("the same job being saved")
        << false << InputsChange([](auto& inputs) { inputs.isSaving = true; }) << false
        << (saving | canSave | time);
    QTest::newRow("the same job with a new run") << false << InputsChange([](auto& inputs) {
        JobExecutionRecord run;
        run.id = QStringLiteral("1765096200-42");
        run.startedAt = QDateTime::fromSecsSinceEpoch(1765096200);
        inputs.executionHistory = {run};
        inputs.executionSummary = {stateOf(run), run, std::nullopt};
    }) << false << (executionStatus | history | time);
    QTest::newRow("the same job renamed elsewhere") << false << InputsChange([](auto& inputs) {
        inputs.originalJob.name = QStringLiteral("Elsewhere");
    }) << false << (time | title | name);
    QTest::newRow("another job") << false << InputsChange([](auto& inputs) {
        inputs.originalJob.id = QUuid::createUuid();
    }) << true << everyJobEditorPart;
    QTest::newRow("the new job, now saved") << true << nothing << true << everyJobEditorPart;
}

void JobEditorRulesTest::newInputs_restartTheDraftOnlyForAnotherJob()
{
    QFETCH(bool, wasNew);
    QFETCH(InputsChange, change);
    QFETCH(bool, restarts);
    QFETCH(JobEditorChanges, changes);

    JobEditorInputs inputs;
    inputs.originalJob = backupJob(QStringLiteral("0 9 * * *"));
    inputs.isNew = wasNew;
    JobEditorModel model(inputs);
    model.setCommand(QStringLiteral("/usr/local/bin/draft.sh"));
    model.setEditorMode(ScheduleEditorMode::syntax);

    inputs.isNew = false;
    change(inputs);
    const JobEditorChanges shown = model.setInputs(inputs);
    QCOMPARE(shown.testFlag(JobEditorChange::restarted), restarts);
    QCOMPARE(shown, changes);
    // The user's command survives a refresh of the same job; another job shows its own.
    QCOMPARE(model.draft().command,
             restarts ? inputs.originalJob.command : u"/usr/local/bin/draft.sh"_qs);
    QCOMPARE(model.editorMode(),
             restarts ? ScheduleEditorMode::visual : ScheduleEditorMode::syntax);
    QCOMPARE(model.executionHistory(), inputs.executionHistory);
}

void JobEditorRulesTest::buttons_offerRevertOnlyForAChangedSavedJob()
{
    JobEditorModel saved(backupJob(QStringLiteral("0 9 * * *")), false);
    QCOMPARE(saved.saveLabel(), u"Änderungen sichern"_qs);
    QVERIFY(!saved.offersRevert(false));
    saved.setName(QStringLiteral("Backups"));
    QCOMPARE(saved.saveLabel(), u"Änderungen sichern"_qs);
    QVERIFY(saved.offersRevert(false));
    // The dialog's way back is "Abbrechen".
    JobEditorModel created(backupJob(QStringLiteral("0 9 * * *")), true);
    created.setName(QStringLiteral("Backups"));
    QCOMPARE(created.saveLabel(), u"Cronjob anlegen"_qs);
    QVERIFY(!created.offersRevert(true));
}

void JobEditorRulesTest::minuteIntervalEntries_keepAnIntervalNotOffered()
{
    const QList<int> offered = VisualScheduleChoices::offeredMinuteIntervals();
    QCOMPARE(VisualScheduleChoices::minuteIntervalEntries(offered, 7),
             QList<int>({1, 2, 5, 7, 10, 15, 20, 30}));
    QCOMPARE(VisualScheduleChoices::minuteIntervalEntries(offered, 45),
             QList<int>({1, 2, 5, 10, 15, 20, 30, 45}));
    QCOMPARE(VisualScheduleChoices::minuteIntervalEntries(offered, 15), offered);
}

void JobEditorRulesTest::toggledWeekday_neverEmptiesTheSet()
{
    using VisualScheduleChoices::toggledWeekday;
    QCOMPARE(toggledWeekday({1}, 1), std::set<int>({1}));
    QCOMPARE(toggledWeekday({1}, 5), std::set<int>({1, 5}));
    QCOMPARE(toggledWeekday({1, 5}, 1), std::set<int>({5}));
}

void JobEditorRulesTest::timeOfDayFormat_hasNoSeconds()
{
    using VisualScheduleChoices::timeOfDayFormat;
    QCOMPARE(timeOfDayFormat(QLocale(QLocale::German)), u"HH:mm"_qs);
    QCOMPARE(timeOfDayFormat(QLocale::c()), u"HH:mm"_qs);
    QCOMPARE(timeOfDayFormat(QLocale(QLocale::English, QLocale::UnitedStates)), u"h:mm AP"_qs);
}

void JobEditorRulesTest::upcomingRuns_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QStringList>("expected");
    for (const QStringList& row : Testing::dataTable(QStringLiteral("upcoming-runs.tsv"), 4))
        QTest::newRow(qPrintable(row[0]))
            << row[1] << row[2] << row[3].split(QStringLiteral(" | "), Qt::SkipEmptyParts);
}

void JobEditorRulesTest::upcomingRuns()
{
    QFETCH(QString, expression);
    QFETCH(QString, now);
    QFETCH(QStringList, expected);
    const QTimeZone berlin("Europe/Berlin");
    const QDateTime reference(QDateTime::fromString(now, Qt::ISODate).date(),
                              QDateTime::fromString(now, Qt::ISODate).time(), berlin);
    QCOMPARE(UpcomingRuns::texts(expression, reference, berlin, QLocale(QLocale::German)),
             expected);
}

QTEST_APPLESS_MAIN(JobEditorRulesTest)
#include "tst_JobEditorRules.moc"
