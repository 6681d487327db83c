#include "JobDraftRules.h"
#include "JobEditorModel.h"
#include "JobSketch.h"
#include "ShellQuoting.h"
#include "UpcomingRuns.h"
#include "VisualScheduleChoices.h"

#include <QTest>
#include <functional>

using namespace Tempolane;
using Tempolane::Testing::backupJob;

namespace {

using Edit = std::function<void(JobEditorModel&)>;
using JobChange = std::function<void(CronJob&)>;
// Edits the model and answers what its last step changed.
using Change = std::function<JobEditorChanges(JobEditorModel&)>;
using InputsChange = std::function<void(JobEditorInputs&)>;

VisualSchedule weekly(std::set<int> weekdays)
{
    VisualSchedule schedule;
    schedule.frequency = ScheduleFrequency::weekly;
    schedule.weekdays = std::move(weekdays);
    return schedule;
}

} // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(JobChange)
Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(InputsChange)
Q_DECLARE_METATYPE(JobEditorChanges)
Q_DECLARE_METATYPE(ScheduleEditorMode)
Q_DECLARE_METATYPE(std::optional<QString>)

class JobEditorRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameMessage_data();
    void nameMessage();
    void commandMessage_data();
    void commandMessage();
    void scheduleMessage_data();
    void scheduleMessage();
    void scheduleEditing_data();
    void scheduleEditing();
    void canSave_data();
    void canSave();
    void save_handsOnTrimmedCopyAndKeepsTheDraftUntilTheStoreHasIt();
    void storeChange_reachesEveryFieldTheUserLeftAlone_data();
    void storeChange_reachesEveryFieldTheUserLeftAlone();
    void title_data();
    void title();
    void changes_nameThePartsAnEditChanged_data();
    void changes_nameThePartsAnEditChanged();
    void newInputs_restartTheDraftOnlyForAnotherJob_data();
    void newInputs_restartTheDraftOnlyForAnotherJob();
    void buttons_data();
    void buttons();
    void minuteIntervalEntries_keepAnIntervalNotOffered();
    void toggledWeekday_neverEmptiesTheSet();
    void timeOfDayFormat_hasNoSeconds();
    void upcomingRuns_data();
    void upcomingRuns();
};

void JobEditorRulesTest::nameMessage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QString>>("expected");

    const std::optional<QString> tooLong = u"Der Name darf höchstens 80 Zeichen lang sein."_qs;
    QTest::newRow("blanks only") << " \t " << std::optional(u"Bitte einen Namen vergeben."_qs);
    QTest::newRow("break inside") << "Backup\rTäglich"
                                  << std::optional(
                                         u"Der Name muss in einer einzelnen Zeile stehen."_qs);
    QTest::newRow("break at the end is trimmed") << "Backup\n" << std::optional<QString>();
    QTest::newRow("80 characters") << QString(80, u'x') << std::optional<QString>();
    QTest::newRow("81 characters") << QString(81, u'x') << tooLong;
    QTest::newRow("80 characters around blanks")
        << u"  "_qs + QString(80, u'x') + u"  "_qs << std::optional<QString>();
    // e + combining acute: two code units, one character.
    QTest::newRow("80 accented characters")
        << u"e\u0301"_qs.repeated(80) << std::optional<QString>();
    QTest::newRow("81 accented characters") << u"e\u0301"_qs.repeated(81) << tooLong;
}

void JobEditorRulesTest::nameMessage()
{
    QFETCH(QString, name);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(JobDraftRules::nameMessage(name), expected);
}

void JobEditorRulesTest::commandMessage_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("isMonitoringEnabled");
    QTest::addColumn<std::optional<QString>>("expected");

    const std::optional<QString> percent =
        u"Dieser Befehl verwendet ein ungeschütztes Prozentzeichen. Deaktiviere den "
        u"Ausführungsstatus oder schreibe \\% statt %."_qs;
    const std::optional<QString> none;
    QTest::newRow("empty") << "  \n" << false << std::optional(u"Bitte einen Befehl eingeben."_qs);
    QTest::newRow("break between two parts")
        << "echo a\necho b" << false
        << std::optional(u"Ein Cronjob muss in einer einzelnen Zeile stehen."_qs);
    QTest::newRow("break at the end is trimmed") << "echo a\n" << true << none;
    QTest::newRow("percent, monitored") << "date +%F" << true << percent;
    QTest::newRow("percent, not monitored") << "date +%F" << false << none;
    QTest::newRow("escaped percent, monitored") << "date +\\%F" << true << none;
    QTest::newRow("too long to monitor")
        << QString(900, u'x') << true
        << std::optional(u"Dieser Befehl ist zu lang für den Ausführungsstatus. Deaktiviere den "
                         u"Ausführungsstatus oder kürze den Befehl."_qs);
    QTest::newRow("long, not monitored") << QString(900, u'x') << false << none;
}

void JobEditorRulesTest::commandMessage()
{
    QFETCH(QString, command);
    QFETCH(bool, isMonitoringEnabled);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(JobDraftRules::commandMessage(command, isMonitoringEnabled,
                                           quotedPath(Testing::runnerPath())),
             expected);
}

void JobEditorRulesTest::scheduleEditing_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<ScheduleEditorMode>("mode");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<VisualSchedule>("visual");

    using M = ScheduleEditorMode;
    const Edit nothing = [](JobEditorModel&) {};
    VisualSchedule everySeven;
    everySeven.frequency = ScheduleFrequency::minutes;
    everySeven.minuteInterval = 7;
    VisualSchedule fivePastNine;
    fivePastNine.minute = 5;

    QTest::newRow("recognised opens visual")
        << "0 9 * * 1-5" << nothing << M::visual << "0 9 * * 1-5" << weekly({1, 2, 3, 4, 5});
    QTest::newRow("interval not offered stays")
        << "*/7 * * * *" << nothing << M::visual << "*/7 * * * *" << everySeven;
    QTest::newRow("shortcut opens syntax with the default form")
        << "@daily" << nothing << M::syntax << "@daily" << VisualSchedule::defaultSchedule();
    QTest::newRow("visual change writes the expression")
        << "0 9 * * *" << Edit([](JobEditorModel& model) { model.setVisualSchedule(weekly({5})); })
        << M::visual << "0 9 * * 5" << weekly({5});
    QTest::newRow("to syntax changes nothing") << "*/7 * * * *" << Edit([](JobEditorModel& model) {
        model.setEditorMode(ScheduleEditorMode::syntax);
    }) << M::syntax << "*/7 * * * *" << everySeven;
    QTest::newRow("back to visual gives up what it cannot show")
        << "0 9 * * 1-5" << Edit([](JobEditorModel& model) {
               model.setEditorMode(ScheduleEditorMode::syntax);
               model.setScheduleExpression(QStringLiteral("0 9 1-7 * *"));
               model.setEditorMode(ScheduleEditorMode::visual);
           })
        << M::visual << "0 9 * * 1-5" << weekly({1, 2, 3, 4, 5});
    QTest::newRow("back to visual takes what it can show")
        << "@daily" << Edit([](JobEditorModel& model) {
               model.setScheduleExpression(QStringLiteral("05 9 * * *"));
               model.setEditorMode(ScheduleEditorMode::visual);
           })
        << M::visual << "05 9 * * *" << fivePastNine;
    QTest::newRow("revert to a recognised schedule")
        << "*/7 * * * *" << Edit([](JobEditorModel& model) {
               model.setEditorMode(ScheduleEditorMode::syntax);
               model.setScheduleExpression(QStringLiteral("@hourly"));
               model.revert();
           })
        << M::visual << "*/7 * * * *" << everySeven;
    QTest::newRow("revert to a shortcut keeps the form")
        << "@daily" << Edit([](JobEditorModel& model) {
               model.setEditorMode(ScheduleEditorMode::visual);
               model.setVisualSchedule(weekly({3}));
               model.revert();
           })
        << M::syntax << "@daily" << weekly({3});
}

void JobEditorRulesTest::scheduleEditing()
{
    QFETCH(QString, saved);
    QFETCH(Edit, edit);
    QFETCH(ScheduleEditorMode, mode);
    QFETCH(QString, expression);
    QFETCH(VisualSchedule, visual);

    JobEditorModel model(backupJob(saved), false);
    edit(model);
    QCOMPARE(model.editorMode(), mode);
    QCOMPARE(model.draft().scheduleExpression, expression);
    QVERIFY(model.visualSchedule() == visual);
}

void JobEditorRulesTest::scheduleMessage_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<std::optional<QString>>("expected");
    QTest::newRow("valid") << "*/5 * * * *" << std::optional<QString>();
    QTest::newRow("a plain mistake")
        << "60 * * * *" << std::optional(u"Minute: Wert außerhalb von 0…59."_qs);
    QTest::newRow("a step after a single value")
        << "5/10 * * * *"
        << std::optional(u"Minute: Ein Schritt ist nur nach * oder einem Bereich erlaubt. "
                         "Schreibe stattdessen „5-59/10 * * * *“."_qs);
    QTest::newRow("a shortcut in capitals")
        << "@HOURLY"
        << std::optional(u"Diese @-Kurzform wird von cron nicht unterstützt. "
                         "Schreibe stattdessen „@hourly“."_qs);
}

void JobEditorRulesTest::scheduleMessage()
{
    QFETCH(QString, expression);
    QFETCH(std::optional<QString>, expected);
    JobEditorModel model(backupJob(QStringLiteral("0 9 * * *")), false);
    model.setScheduleExpression(expression);
    QCOMPARE(model.scheduleMessage(), expected);
}

void JobEditorRulesTest::canSave_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("hasUnsavedChanges");
    QTest::addColumn<bool>("canSave");

    const Edit nothing = [](JobEditorModel&) {};
    QTest::newRow("existing, unchanged") << false << nothing << false << false;
    QTest::newRow("new, unchanged") << true << nothing << false << true;
    QTest::newRow("only the switch")
        << false << Edit([](JobEditorModel& model) { model.setEnabled(false); }) << true << true;
    QTest::newRow("only the log policy") << false << Edit([](JobEditorModel& model) {
        model.setLogPolicy(ExecutionLogPolicy::none);
    }) << true << true;
    QTest::newRow("a trailing blank is a change")
        << false << Edit([](JobEditorModel& model) { model.setName(QStringLiteral("Backup ")); })
        << true << true;
    QTest::newRow("while saving") << true
                                  << Edit([](JobEditorModel& model) { model.setSaving(true); })
                                  << false << false;
    QTest::newRow("invalid schedule") << true << Edit([](JobEditorModel& model) {
        model.setScheduleExpression(QStringLiteral("60 * * * *"));
    }) << true << false;
    QTest::newRow("monitored with a bare percent") << false << Edit([](JobEditorModel& model) {
        model.setCommand(QStringLiteral("date +%F"));
        model.setMonitoringEnabled(true);
    }) << true << false;
}

void JobEditorRulesTest::canSave()
{
    QFETCH(bool, isNew);
    QFETCH(Edit, edit);
    QFETCH(bool, hasUnsavedChanges);
    QFETCH(bool, canSave);

    JobEditorModel model(backupJob(QStringLiteral("0 9 * * *")), isNew);
    edit(model);
    QCOMPARE(model.hasUnsavedChanges(), hasUnsavedChanges);
    QCOMPARE(model.canSave(), canSave);
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
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<JobChange>("storeChange");
    // The draft afterwards, as a change of the job the editor started from.
    QTest::addColumn<JobChange>("expectedDraft");
    QTest::addColumn<bool>("hasUnsavedChanges");
    QTest::addColumn<ScheduleEditorMode>("editorMode");

    const Edit nothing = [](JobEditorModel&) {};
    const Edit typeName = [](JobEditorModel& model) { model.setName(QStringLiteral("Sicherung")); };
    const JobChange pause = [](CronJob& job) { job.isEnabled = false; };
    const JobChange monitor = [](CronJob& job) {
        job.isMonitoringEnabled = true;
        job.logPolicy = ExecutionLogPolicy::errorsOnly;
    };
    const auto both = [](JobChange first, JobChange second) {
        return JobChange([first, second](CronJob& job) {
            first(job);
            second(job);
        });
    };
    const auto schedule = [](const QString& expression) {
        return JobChange([expression](CronJob& job) { job.scheduleExpression = expression; });
    };
    const JobChange typedName = [](CronJob& job) { job.name = QStringLiteral("Sicherung"); };
    const JobChange newCommand = [](CronJob& job) { job.command = QStringLiteral("/bin/other"); };
    const auto visual = ScheduleEditorMode::visual;

    QTest::newRow("a pause from the list reaches the untouched switch")
        << nothing << pause << pause << false << visual;
    QTest::newRow("monitoring turned on elsewhere reaches its switch and policy")
        << nothing << monitor << monitor << false << visual;
    QTest::newRow("a typed name survives a pause, which still reaches the switch")
        << typeName << pause << both(typedName, pause) << true << visual;
    QTest::newRow("a typed name survives an outside edit of the command")
        << typeName << newCommand << both(typedName, newCommand) << true << visual;
    QTest::newRow("a switch flipped the same way as the store's shows no change")
        << Edit([](JobEditorModel& model) { model.setEnabled(false); }) << pause << pause << false
        << visual;
    QTest::newRow("a switch the user flipped keeps the user's position")
        << Edit([](JobEditorModel& model) { model.setMonitoringEnabled(true); })
        << JobChange([](CronJob& job) { job.logPolicy = ExecutionLogPolicy::errorsOnly; })
        << JobChange([](CronJob& job) {
               job.isMonitoringEnabled = true;
               job.logPolicy = ExecutionLogPolicy::errorsOnly;
           })
        << true << visual;
    QTest::newRow("a name typed and typed back takes the store's new name")
        << Edit([](JobEditorModel& model) {
               model.setName(QStringLiteral("X"));
               model.setName(QStringLiteral("Backup"));
           })
        << typedName << typedName << false << visual;
    QTest::newRow("an outside schedule the form can show moves the form")
        << nothing << schedule(QStringLiteral("0 3 * * *")) << schedule(QStringLiteral("0 3 * * *"))
        << false << visual;
    QTest::newRow("an outside schedule the form cannot show opens the text")
        << nothing << schedule(QStringLiteral("@reboot")) << schedule(QStringLiteral("@reboot"))
        << false << ScheduleEditorMode::syntax;
    QTest::newRow("a schedule set in the form survives an outside schedule")
        << Edit([](JobEditorModel& model) {
               model.setVisualSchedule(weekly({1, 3}));
           })
        << schedule(QStringLiteral("0 3 * * *")) << schedule(weekly({1, 3}).expression()) << true
        << visual;
}

void JobEditorRulesTest::storeChange_reachesEveryFieldTheUserLeftAlone()
{
    QFETCH(Edit, edit);
    QFETCH(JobChange, storeChange);
    QFETCH(JobChange, expectedDraft);
    QFETCH(bool, hasUnsavedChanges);
    QFETCH(ScheduleEditorMode, editorMode);

    const CronJob opened = backupJob(QStringLiteral("0 9 * * *"));
    JobEditorModel model(opened, false);
    edit(model);
    CronJob stored = opened;
    storeChange(stored);
    model.setOriginal(stored);

    CronJob expected = opened;
    expectedDraft(expected);
    QCOMPARE(model.draft().name, expected.name);
    QCOMPARE(model.draft().scheduleExpression, expected.scheduleExpression);
    QCOMPARE(model.draft().command, expected.command);
    QCOMPARE(model.draft().isEnabled, expected.isEnabled);
    QCOMPARE(model.draft().isMonitoringEnabled, expected.isMonitoringEnabled);
    QCOMPARE(model.draft().logPolicy, expected.logPolicy);
    QCOMPARE(model.hasUnsavedChanges(), hasUnsavedChanges);
    QCOMPARE(model.canSave(), hasUnsavedChanges);
    QCOMPARE(model.editorMode(), editorMode);
    if (editorMode == ScheduleEditorMode::visual)
        QCOMPARE(model.visualSchedule().expression(), expected.scheduleExpression);
}

void JobEditorRulesTest::title_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("new job") << true << "Backup"
                             << "Neuer Cronjob";
    QTest::newRow("trimmed name") << false << "  Backup\n"
                                  << "Backup";
    QTest::newRow("blank name: the command's") << false << " \t"
                                               << "backup.sh";
}

void JobEditorRulesTest::title()
{
    QFETCH(bool, isNew);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(JobEditorModel(backupJob(QStringLiteral("@daily"), name), isNew).title(), expected);
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

    QTest::newRow("each from the one before")
        << "*/20 * * * *"
        << "2026-12-07T09:05:00"
        << QStringList{"7. Dez., 09:20", "7. Dez., 09:40", "7. Dez., 10:00", "7. Dez., 10:20",
                       "7. Dez., 10:40"};
    QTest::newRow("a missing hour is skipped, blanks trimmed")
        << " 30 2 * * * "
        << "2026-03-28T12:00:00"
        << QStringList{"30. März, 02:30", "31. März, 02:30", "1. Apr., 02:30", "2. Apr., 02:30",
                       "3. Apr., 02:30"};
    QTest::newRow("fewer within the horizon")
        << "0 0 29 2 *"
        << "2026-03-01T00:00:00" << QStringList{"29. Feb., 00:00"};
    QTest::newRow("never") << "0 0 30 2 *"
                           << "2026-03-01T00:00:00"
                           << QStringList{"Keine Ausführung in den nächsten zwei Jahren."};
    QTest::newRow("a step after a single value, which is refused, has none")
        << "5/10 * * * *"
        << "2026-03-01T00:00:00" << QStringList();
    QTest::newRow("at start-up") << "@reboot"
                                 << "2026-03-01T00:00:00" << QStringList{"Beim Systemstart"};
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

void JobEditorRulesTest::changes_nameThePartsAnEditChanged_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<Change>("change");
    QTest::addColumn<JobEditorChanges>("changes");

    using enum JobEditorChange;
    const JobEditorChanges draftState = unsavedChanges | canSave;
    QTest::newRow("a keystroke in the schedule") << false << Change([](auto& model) {
        return model.setScheduleExpression(QStringLiteral("0 9 * *"));
    }) << (schedule | unsavedChanges);
    QTest::newRow("the same text again") << false << Change([](auto& model) {
        return model.setScheduleExpression(QStringLiteral("0 9 * * *"));
    }) << JobEditorChanges();
    QTest::newRow("typing the name")
        << false << Change([](auto& model) { return model.setName(QStringLiteral("Backups")); })
        << (name | title | draftState);
    QTest::newRow("a blank after the name keeps the title")
        << false << Change([](auto& model) { return model.setName(QStringLiteral("Backup ")); })
        << (name | draftState);
    QTest::newRow("monitoring switched on")
        << false << Change([](auto& model) { return model.setMonitoringEnabled(true); })
        << (executionSettings | draftState);
    QTest::newRow("the form picks a weekday")
        << false << Change([](auto& model) { return model.setVisualSchedule(weekly({1})); })
        << (visualSchedule | schedule | draftState);
    QTest::newRow("to the text") << false << Change([](auto& model) {
        return model.setEditorMode(ScheduleEditorMode::syntax);
    }) << JobEditorChanges(editorMode);
    QTest::newRow("back to the form, which cannot show the text")
        << false << Change([](auto& model) {
               model.setEditorMode(ScheduleEditorMode::syntax);
               model.setScheduleExpression(QStringLiteral("0 9 1-7 * *"));
               return model.setEditorMode(ScheduleEditorMode::visual);
           })
        << (editorMode | schedule | draftState);
    QTest::newRow("revert") << false << Change([](auto& model) {
        model.setName(QStringLiteral("Backups"));
        return model.revert();
    }) << (name | title | draftState);
    QTest::newRow("leaving a new job's empty name") << true << Change([](auto& model) {
        model.setName(QString());
        return model.leave(DraftField::name);
    }) << JobEditorChanges(name);
    QTest::newRow("trying to save a new job with an empty name") << true << Change([](auto& model) {
        model.setName(QString());
        return model.attemptSave();
    }) << JobEditorChanges(name);
}

void JobEditorRulesTest::changes_nameThePartsAnEditChanged()
{
    QFETCH(bool, isNew);
    QFETCH(Change, change);
    QFETCH(JobEditorChanges, changes);

    JobEditorModel model(backupJob(QStringLiteral("0 9 * * *")), isNew);
    QCOMPARE(change(model), changes);
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

void JobEditorRulesTest::buttons_data()
{
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<bool>("isDialog");
    QTest::addColumn<bool>("isChanged");
    QTest::addColumn<QString>("saveLabel");
    QTest::addColumn<bool>("offersRevert");

    QTest::newRow("a saved job as it is")
        << false << false << false << u"Änderungen sichern"_qs << false;
    QTest::newRow("a saved job, changed")
        << false << false << true << u"Änderungen sichern"_qs << true;
    // The dialog's way back is "Abbrechen".
    QTest::newRow("a new job, changed") << true << true << true << u"Cronjob anlegen"_qs << false;
}

void JobEditorRulesTest::buttons()
{
    QFETCH(bool, isNew);
    QFETCH(bool, isDialog);
    QFETCH(bool, isChanged);
    QFETCH(QString, saveLabel);
    QFETCH(bool, offersRevert);

    JobEditorModel model(backupJob(QStringLiteral("0 9 * * *")), isNew);
    if (isChanged)
        model.setName(QStringLiteral("Backups"));
    QCOMPARE(model.saveLabel(), saveLabel);
    QCOMPARE(model.offersRevert(isDialog), offersRevert);
}

QTEST_APPLESS_MAIN(JobEditorRulesTest)
#include "tst_JobEditorRules.moc"
