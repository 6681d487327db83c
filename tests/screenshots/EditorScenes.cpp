// The job editor in the states a reviewer should see.
#include "CronExpression.h"
#include "EditorActions.h"
#include "JobEditorView.h"
#include "JobSketch.h"
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

namespace {

// The inputs of a saved job's editor.
JobEditorView::Inputs savedJob(const Testing::JobSketch& sketch)
{
    JobEditorView::Inputs inputs;
    inputs.originalJob = Testing::makeJob(1, sketch);
    inputs.originalJob.original = CronJob::Original{inputs.originalJob.settings(), {}, {}};
    inputs.executionSummary = JobExecutionSummary::notMonitored();
    return inputs;
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

// The editor with its next run counted from now and its history unfolded, and the newest run
// too, as Space on it does.
std::unique_ptr<QWidget> withHistory(JobEditorView::Inputs inputs, bool unfoldsNewest)
{
    inputs.nextExecution =
        CronExpression::nextExecution(inputs.originalJob.scheduleExpression,
                                      QDateTime::currentDateTime(), QTimeZone::systemTimeZone());
    auto editor = std::make_unique<JobEditorView>(inputs, Testing::idleEditorActions());
    editor->findChild<QAbstractButton*>(QStringLiteral("historyHeader"))->click();
    auto* list = editor->findChild<QAbstractItemView*>(QStringLiteral("executionHistoryList"));
    if (unfoldsNewest) {
        list->setCurrentIndex(list->model()->index(0, 0));
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(list, &space);
    }
    editor->setFocus();
    return editor;
}

std::unique_ptr<QWidget> succeededWithHistory()
{
    JobEditorView::Inputs inputs =
        savedJob({inShownLanguage("Fotos sichern", "Back up photos"), QStringLiteral("30 2 * * *"),
                  inShownLanguage("rsync -a --delete ~/Bilder/ /mnt/backup/bilder/",
                                  "rsync -a --delete ~/Pictures/ /mnt/backup/pictures/"),
                  true, true});
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
    return withHistory(inputs, false);
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
    JobEditorView::Inputs inputs =
        savedJob({inShownLanguage("Datenbank exportieren", "Export the database"),
                  QStringLiteral("15 3 * * *"),
                  QStringLiteral("/home/anna/bin/db-export.sh --target /srv/exports"), true, true});
    const QTime time(3, 15);
    inputs.executionHistory = {
        run(scheduled(time, 0), 1, 2.4, output), run(scheduled(time, 1), 0, 41.9),
        run(scheduled(time, 2), std::nullopt, 0), run(scheduled(time, 3), 0, 39.2)};
    inputs.executionSummary = {JobExecutionState::failed(1), inputs.executionHistory.front(),
                               std::nullopt};
    return withHistory(inputs, true);
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
    auto editor = std::make_unique<JobEditorView>(
        savedJob({inShownLanguage("Logs rotieren", "Rotate logs"), QStringLiteral("0 9-17 * * 1-5"),
                  QStringLiteral("/usr/sbin/logrotate ~/.config/logrotate.conf")}),
        Testing::idleEditorActions());
    auto* field = editor->findChild<QLineEdit*>(QStringLiteral("scheduleField"));
    field->setFocus();
    field->end(false);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, QStringLiteral("8"));
    return editor;
}

std::unique_ptr<QWidget> pausedWeekly()
{
    auto editor = std::make_unique<JobEditorView>(
        savedJob({inShownLanguage("Wochenbericht senden", "Send the weekly report"),
                  QStringLiteral("30 7 * * 1,3,5"),
                  inShownLanguage("python3 ~/scripts/wochenbericht.py --mail team@example.org",
                                  "python3 ~/scripts/weekly-report.py --mail team@example.org"),
                  false}),
        Testing::idleEditorActions());
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
