// The timeline in place of the job list, a day and a week, at the usual and the smallest window
// size, with the desktop's font at 150 %, on a screen at 150 % and right to left, and the run
// chart of an hourly job in its editor.
// The jobs have run records of their own: successes, a failure, an interrupted run, missed
// runs; two jobs overlap at 02:00 and four start at 03:00.
#include "CronBackupStore.h"
#include "CronExpression.h"
#include "CronStore.h"
#include "DataLocations.h"
#include "DemoCronClient.h"
#include "EditorActions.h"
#include "JobEditorView.h"
#include "JobSketch.h"
#include "MainWindow.h"
#include "NextExecutionSearch.h"
#include "Scene.h"
#include "StoreFakes.h"
#include "TimelineCanvas.h"

#include <QAbstractButton>
#include <QCoro/QCoroTask>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

namespace Tempolane::Screenshots {

namespace {

using Testing::JobSketch;

struct SceneJob
{
    JobSketch sketch;
    // Seconds a run takes; none: not monitored.
    std::optional<int> seconds = std::nullopt;
    // Every how many runs one fails, one is interrupted, one left no record; 0: never.
    int failEvery = 0;
    int interruptEvery = 0;
    int missEvery = 0;
};

SceneJob sceneJob(const QString& name, const char* schedule, const char* command,
                  std::optional<int> seconds = std::nullopt, int failEvery = 0,
                  int interruptEvery = 0, int missEvery = 0)
{
    return {{name, QString::fromLatin1(schedule), QString::fromUtf8(command)},
            seconds,
            failEvery,
            interruptEvery,
            missEvery};
}

// Names in the language shown, as a user of that language would write them.
QList<SceneJob> sceneJobs()
{
    return {
        sceneJob(u"backup.sh"_qs, "0 2 * * *", "/home/anna/bin/backup.sh", 25 * 60, 4),
        sceneJob(u"sync.sh"_qs, "10 2 * * *", "rclone sync ~/Dokumente nas:dokumente", 6 * 60),
        sceneJob(u"Laravel Scheduler"_qs, "*/5 * * * *",
                 "php ~/Sites/example/artisan schedule:run"),
        sceneJob(u"heartbeat.sh"_qs, "0 * * * *", "/home/anna/bin/heartbeat.sh", 20, 23, 41, 9),
        sceneJob(u"daily-report.sh"_qs, "30 8 * * 1-5", "/home/anna/Scripts/daily-report.sh", 130,
                 0, 3),
        sceneJob(inShownLanguage("Logs rotieren", "Rotate logs"), "0 3 * * *",
                 "/usr/sbin/logrotate ~/.config/logrotate.conf"),
        sceneJob(inShownLanguage("Cache leeren", "Clear cache"), "0 3 * * *",
                 "rm -rf ~/.cache/thumbnails"),
        sceneJob(inShownLanguage("Datenbank aufräumen", "Tidy database"), "0 3 * * *",
                 "psql -c 'VACUUM'"),
        sceneJob(inShownLanguage("Fotos indizieren", "Index photos"), "0 3 * * *",
                 "/home/anna/bin/index-photos.sh"),
        sceneJob(inShownLanguage("Archiv", "Archive"), "0 4 * * 0", "/home/anna/bin/archive.sh"),
        sceneJob(inShownLanguage("Dienste starten", "Start services"), "@reboot",
                 "/home/anna/bin/start-services.sh"),
    };
}

// The job's runs of the last eight days as its records would be, newest first, at most as many
// as the runner keeps.
QList<JobExecutionRecord> recordsOf(const SceneJob& job)
{
    const auto schedule = CronExpression::parse(job.sketch.schedule);
    if (!schedule || !job.seconds)
        return {};
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const NextExecutionSearch search(*schedule, zone);
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    QList<JobExecutionRecord> records;
    int number = 0;
    for (auto run = search.next(now - 8 * 86'400'000LL); run && *run < now - 120'000;
         run = search.next(*run), ++number) {
        if (job.missEvery > 0 && number % job.missEvery == job.missEvery - 1)
            continue;
        JobExecutionRecord record;
        record.startedAt = QDateTime::fromMSecsSinceEpoch(*run + 1000, Qt::UTC);
        record.id = QString::number(record.startedAt.toSecsSinceEpoch());
        const bool isInterrupted =
            job.interruptEvery > 0 && number % job.interruptEvery == job.interruptEvery - 1;
        if (!isInterrupted) {
            // Some variety in how long a run takes, and now and then a slow one.
            const int seconds = *job.seconds * (90 + number * 37 % 25) / 100 +
                                (number % 17 == 8 ? *job.seconds : 0);
            record.endedAt = record.startedAt.addSecs(seconds);
            record.exitCode =
                job.failEvery > 0 && number % job.failEvery == job.failEvery - 1 ? 1 : 0;
        }
        records.prepend(record);
    }
    return records.first(std::min<qsizetype>(records.size(), 100));
}

// The main window on the scene's crontab and records, with the timeline shown.
std::unique_ptr<QWidget> timelineWindow()
{
    static QTemporaryDir settings;
    QList<JobSketch> sketches;
    for (const SceneJob& job : sceneJobs()) {
        sketches.append(job.sketch);
        sketches.back().isMonitoringEnabled = job.seconds.has_value();
    }
    auto execution = std::make_shared<FakeExecutionManager>();
    for (int index = 0; index < sceneJobs().size(); ++index) {
        const CronJob made = Testing::makeJob(index + 1, sketches[index]);
        const QList<JobExecutionRecord> records = recordsOf(sceneJobs()[index]);
        execution->recordsOf.insert(made.id, records);
        if (!records.isEmpty())
            execution->summaryMap.insert(made.id, {stateOf(records.front()), records.front(),
                                                   QDateTime::currentDateTime().addDays(-9)});
    }
    const DataLocations locations = DataLocations::under(settings.path());
    auto* store = new CronStore(
        std::make_unique<DemoCronClient>(Testing::crontabOf(sketches)),
        std::make_unique<CronBackupStore>(locations.backups), execution, Testing::runnerPath(),
        std::make_unique<QSettings>(settings.filePath(QStringLiteral("settings.ini")),
                                    QSettings::IniFormat));
    QCoro::waitFor(store->load());
    store->setSelection(store->document().jobs().at(0).id);
    auto window = std::make_unique<MainWindow>(*store);
    store->setParent(window.get());
    return window;
}

// Waits until the lanes stand with their runs beside the editor, then takes the picture.
QImage withTimeline(QWidget& window, int range)
{
    static_cast<MainWindow&>(window).commands().timeline->trigger();
    auto* canvas = window.findChild<TimelineCanvas*>(QStringLiteral("timelineCanvas"));
    if (range > 0) {
        if (auto* picker = window.findChild<QWidget*>(QStringLiteral("timelineRange")))
            picker->findChildren<QAbstractButton*>().at(range)->click();
    }
    shownChild(window, "jobEditor");
    const bool drawn = QTest::qWaitFor([&] {
        const Timeline& timeline = canvas->timeline();
        return timeline.lanes.size() == sceneJobs().size() &&
               (timeline.range == TimelineRange::week) == (range > 0) &&
               timeline.lanes.front().usualDuration.has_value();
    });
    if (!drawn)
        qWarning("timeline: the lanes did not appear");
    QTest::qWait(50);
    return window.grab().toImage();
}

// The editor of the hourly job, scrolled to its run chart.
std::unique_ptr<QWidget> runChartEditor()
{
    const SceneJob hourly = sceneJobs()[3];
    JobEditorView::Inputs inputs;
    inputs.originalJob = Testing::makeJob(4, hourly.sketch);
    inputs.originalJob.isMonitoringEnabled = true;
    inputs.originalJob.original = CronJob::Original{inputs.originalJob.settings(), {}, {}};
    inputs.runs = recordsOf(hourly);
    inputs.executionHistory = inputs.runs.first(20);
    inputs.executionSummary = {stateOf(inputs.runs.front()), inputs.runs.front(),
                               QDateTime::currentDateTime().addDays(-9)};
    inputs.readAt = QDateTime::currentDateTime();
    return std::make_unique<JobEditorView>(inputs, Testing::idleEditorActions());
}

QImage atRunChart(QWidget& editor)
{
    auto* chart = editor.findChild<QWidget*>(QStringLiteral("runChart"));
    auto* page = editor.findChild<QScrollArea*>();
    if (chart && page)
        page->ensureWidgetVisible(chart, 0, chart->height() * 2);
    QTest::qWait(50);
    return editor.grab().toImage();
}

} // namespace

QList<Scene> timelineScenes()
{
    const auto day = [](QWidget& window) { return withTimeline(window, 0); };
    const auto week = [](QWidget& window) { return withTimeline(window, 1); };
    const auto alsoHighContrast = [](Scene scene) {
        scene.alsoHighContrast = true;
        return scene;
    };
    Scene onScreen{
        QStringLiteral("timeline-on-1366x768-at-150"), {}, timelineWindow, [](QWidget& window) {
            return framedOnItsScreen(window, withTimeline(window, 0));
        }};
    onScreen.screen = QStringLiteral("1366x768 at 150 %");
    const QSize smallest = MainWindow::minimumWindowSize;
    return {
        alsoHighContrast({QStringLiteral("timeline-day"), windowSize, timelineWindow, day}),
        alsoHighContrast({QStringLiteral("timeline-week"), windowSize, timelineWindow, week}),
        onScreen,
        {QStringLiteral("timeline-right-to-left"), windowSize, timelineWindow, day, 1.0,
         Qt::RightToLeft},
        {QStringLiteral("timeline-smallest"), smallest, timelineWindow, day},
        {QStringLiteral("timeline-day-large-font"), windowSize, timelineWindow, day, largeFont},
        {QStringLiteral("timeline-smallest-large-font"), smallest, timelineWindow, week, largeFont},
        alsoHighContrast(
            {QStringLiteral("editor-run-chart"), QSize(820, 900), runChartEditor, atRunChart}),
        {QStringLiteral("editor-run-chart-large-font"), QSize(820, 900), runChartEditor, atRunChart,
         largeFont},
    };
}

} // namespace Tempolane::Screenshots
