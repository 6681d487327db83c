// The job editor in the states a reviewer should see.
#include "CronExpression.h"
#include "JobEditorView.h"
#include "Language.h"
#include "Scene.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace Tempolane::Screenshots {

QString inShownLanguage(const char* german, const char* english)
{
    return QString::fromUtf8(Language::shown().language == QLocale::German ? german : english);
}

JobEditorView::Actions existingJobActions()
{
    JobEditorView::Actions actions;
    actions.save = [](CronJob) {};
    actions.remove = [] {};
    actions.duplicate = [] {};
    actions.runNow = [] {};
    actions.clearHistory = [] {};
    return actions;
}

namespace {

CronJob job(const QString& name, const QString& expression, const QString& command)
{
    CronJob job;
    job.id = QUuid::createUuid();
    job.name = name;
    job.scheduleExpression = expression;
    job.command = command;
    job.original = CronJob::Original{job.settings(), {}, {}};
    return job;
}

// The scheduled minute of a daily job the given number of days before its latest run.
QDateTime scheduled(const QTime& time, int daysAgo)
{
    const QDateTime now = QDateTime::currentDateTime();
    QDateTime latest(now.date(), time);
    if (latest > now)
        latest = latest.addDays(-1);
    return latest.addDays(-daysAgo);
}

std::optional<QDateTime> next(const CronJob& job)
{
    return CronExpression::nextExecution(job.scheduleExpression, QDateTime::currentDateTime(),
                                         QTimeZone::systemTimeZone());
}

JobExecutionRecord run(const QDateTime& start, std::optional<qint32> exitCode, double seconds,
                       std::optional<QString> output = {})
{
    JobExecutionRecord record;
    record.id =
        QStringLiteral("%1-%2").arg(start.toSecsSinceEpoch()).arg(4100 + start.date().day());
    record.startedAt = start;
    if (exitCode)
        record.endedAt = start.addMSecs(qint64(seconds * 1000));
    record.exitCode = exitCode;
    record.output = std::move(output);
    return record;
}

void click(QWidget& root, const char* objectName)
{
    if (auto* button = root.findChild<QAbstractButton*>(QString::fromLatin1(objectName)))
        button->click();
}

// Unfolds the newest run, as Space on it does.
void unfoldNewestRun(QWidget& root)
{
    auto* list = root.findChild<QAbstractItemView*>(QStringLiteral("executionHistoryList"));
    if (!list)
        return;
    list->setCurrentIndex(list->model()->index(0, 0));
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(list, &space);
}

std::unique_ptr<QWidget> succeededWithHistory()
{
    JobEditorView::Inputs inputs;
    inputs.originalJob =
        job(inShownLanguage("Fotos sichern", "Back up photos"), QStringLiteral("30 2 * * *"),
            inShownLanguage("rsync -a --delete ~/Bilder/ /mnt/backup/bilder/",
                            "rsync -a --delete ~/Pictures/ /mnt/backup/pictures/"));
    inputs.originalJob.isMonitoringEnabled = true;
    inputs.originalJob.original->settings.isMonitoringEnabled = true;
    for (int day = 0; day < 25; ++day) {
        const bool failed = day == 6 || day == 13;
        inputs.executionHistory.append(
            run(scheduled(QTime(2, 30), day), failed ? 23 : 0, 84.4 + day * 3.1,
                failed ? std::optional(QStringLiteral(
                             "rsync: [receiver] mkstemp failed: No space left on device (28)\n"))
                       : std::optional(inShownLanguage(
                             "sent 1.204.331 bytes  received 9.812 bytes  total size "
                             "48.120.004.122\n",
                             "sent 1,204,331 bytes  received 9,812 bytes  total size "
                             "48,120,004,122\n"))));
    }
    inputs.executionSummary = {JobExecutionState::succeeded(), inputs.executionHistory.front(),
                               std::nullopt};
    inputs.nextExecution = next(inputs.originalJob);
    auto editor = std::make_unique<JobEditorView>(inputs, existingJobActions());
    click(*editor, "historyHeader");
    editor->setFocus();
    return editor;
}

std::unique_ptr<QWidget> failedWithOutput()
{
    const QString output = inShownLanguage(
        "Starte Datenbank-Export …\n"
        "pg_dump: Verbindung zum Server auf Socket \"/run/postgresql/.s.PGSQL.5432\" "
        "fehlgeschlagen\n"
        "pg_dump: error: connection to server failed: FATAL:  password authentication failed "
        "for user \"backup\"\n\n",
        "Starting the database export …\n"
        "pg_dump: connection to server on socket \"/run/postgresql/.s.PGSQL.5432\" failed\n"
        "pg_dump: error: connection to server failed: FATAL:  password authentication failed "
        "for user \"backup\"\n\n");
    JobEditorView::Inputs inputs;
    inputs.originalJob = job(inShownLanguage("Datenbank exportieren", "Export the database"),
                             QStringLiteral("15 3 * * *"),
                             QStringLiteral("/home/anna/bin/db-export.sh --target /srv/exports"));
    inputs.originalJob.isMonitoringEnabled = true;
    inputs.originalJob.original->settings.isMonitoringEnabled = true;
    const QTime time(3, 15);
    inputs.executionHistory = {
        run(scheduled(time, 0), 1, 2.4, output), run(scheduled(time, 1), 0, 41.9),
        run(scheduled(time, 2), std::nullopt, 0), run(scheduled(time, 3), 0, 39.2)};
    inputs.executionSummary = {JobExecutionState::failed(1), inputs.executionHistory.front(),
                               std::nullopt};
    inputs.nextExecution = next(inputs.originalJob);
    auto editor = std::make_unique<JobEditorView>(inputs, existingJobActions());
    click(*editor, "historyHeader");
    unfoldNewestRun(*editor);
    editor->setFocus();
    return editor;
}

std::unique_ptr<QWidget> newJob()
{
    JobEditorView::Inputs inputs;
    inputs.originalJob.id = QUuid::createUuid();
    inputs.originalJob.scheduleExpression = QStringLiteral("0 9 * * *");
    inputs.originalJob.isMonitoringEnabled = true;
    inputs.isNew = true;
    inputs.executionSummary = JobExecutionSummary::notMonitored();
    JobEditorView::Actions actions;
    actions.save = [](CronJob) {};
    actions.cancel = [] {};
    return std::make_unique<JobEditorView>(inputs, actions);
}

std::unique_ptr<QWidget> syntaxWithMessage()
{
    JobEditorView::Inputs inputs;
    inputs.originalJob =
        job(inShownLanguage("Logs rotieren", "Rotate logs"), QStringLiteral("0 9-17 * * 1-5"),
            QStringLiteral("/usr/sbin/logrotate ~/.config/logrotate.conf"));
    inputs.executionSummary = JobExecutionSummary::notMonitored();
    auto editor = std::make_unique<JobEditorView>(inputs, existingJobActions());
    auto* field = editor->findChild<QLineEdit*>(QStringLiteral("scheduleField"));
    field->setFocus();
    field->end(false);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, QStringLiteral("8"));
    return editor;
}

std::unique_ptr<QWidget> pausedWeekly()
{
    JobEditorView::Inputs inputs;
    inputs.originalJob =
        job(inShownLanguage("Wochenbericht senden", "Send the weekly report"),
            QStringLiteral("30 7 * * 1,3,5"),
            inShownLanguage("python3 ~/scripts/wochenbericht.py --mail team@example.org",
                            "python3 ~/scripts/weekly-report.py --mail team@example.org"));
    inputs.originalJob.isEnabled = false;
    inputs.originalJob.original->settings.isEnabled = false;
    inputs.executionSummary = JobExecutionSummary::notMonitored();
    auto editor = std::make_unique<JobEditorView>(inputs, existingJobActions());
    editor->setFocus();
    return editor;
}

} // namespace

QList<Scene> editorScenes()
{
    return {
        {QStringLiteral("editor-succeeded-history"), QSize(820, 1820), succeededWithHistory, {}},
        {QStringLiteral("editor-failed-output"), QSize(820, 1440), failedWithOutput, {}},
        {QStringLiteral("editor-new-job"), QSize(820, 1080), newJob, {}},
        {QStringLiteral("editor-syntax-message"), QSize(820, 860), syntaxWithMessage, {}},
        {QStringLiteral("editor-paused-weekly"), QSize(820, 980), pausedWeekly, {}},
    };
}

} // namespace Tempolane::Screenshots
