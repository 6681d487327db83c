// The timeline and the run chart: working out a week of runs for 1,000 jobs, and painting the
// timeline of those jobs and the chart of 100 runs. Each paint is timed against a bare widget
// of the same size that fills its area, repainted in the same run: the floor. The first paint
// of a timeline, which draws everything, is timed as well.
//
// The jobs are mixed as a crontab of many jobs could be: every minute, hourly, daily, weekly,
// in turn; every other job is monitored with the records its schedule leaves (as many as the
// runner keeps), a few of them failed.
#include "Palette.h"
#include "ProcessFigures.h"
#include "RunChartView.h"
#include "Style.h"
#include "Timeline.h"
#include "TimelineCanvas.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <functional>

using namespace Tempolane;

namespace {

const QTimeZone berlin("Europe/Berlin");
const QDateTime now(QDate(2026, 3, 2), QTime(10, 0, 20), berlin);
const QSize timelineSize(620, 700);
const QSize chartSize(600, 110);

// Runs before now, newest first, every `minutes`; every 13th failed.
QList<JobExecutionRecord> recorded(int minutes, int count)
{
    QList<JobExecutionRecord> runs;
    const QDateTime newest = now.addSecs(-20 - qint64(minutes) * 60);
    for (int index = 0; index < count; ++index) {
        JobExecutionRecord run;
        run.startedAt = newest.addSecs(-qint64(index) * minutes * 60 + 1);
        run.id = QString::number(run.startedAt.toSecsSinceEpoch());
        run.endedAt = run.startedAt.addSecs(5 + index % 40);
        run.exitCode = index % 13 == 5 ? 1 : 0;
        runs.append(run);
    }
    return runs;
}

TimelineInput thousandJobs(TimelineRange range)
{
    struct Kind
    {
        const char* expression;
        int minutes;
        int records;
    };
    // Records as the runner keeps them: at most 100, none older than 30 days.
    const Kind kinds[] = {{"* * * * *", 1, 100},
                          {"0 * * * *", 60, 100},
                          {"30 2 * * *", 1440, 30},
                          {"0 3 * * 0", 10'080, 4}};
    TimelineInput input;
    input.range = range;
    input.now = now;
    input.zone = berlin;
    for (int index = 0; index < 1000; ++index) {
        const Kind& kind = kinds[index % 4];
        TimelineJob job;
        job.id = QUuid::createUuid();
        job.name = QStringLiteral("sync-%1.sh").arg(index);
        job.expression = QString::fromLatin1(kind.expression);
        job.isMonitored = index % 2 == 1;
        if (job.isMonitored) {
            job.runs = recorded(kind.minutes, kind.records);
            job.monitoringStartedAt = now.addDays(-40);
        }
        input.jobs.append(job);
    }
    return input;
}

// The floor: as large as the picture, and it fills its area.
class BareWidget final : public QWidget
{
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
    }
};

void prepareApplication()
{
    static const bool prepared = [] {
        QApplication::setStyle(new Style);
        QApplication::setPalette(Palette::qtPalette(ColorScheme::light));
        return true;
    }();
    Q_UNUSED(prepared);
}

double repaintMs(QWidget& widget)
{
    const double start = Bench::processorSeconds();
    widget.repaint();
    return (Bench::processorSeconds() - start) * 1e3;
}

// Repaints the picture (`painted`, the part of it that draws) and a floor as large as that part
// in turn, as often as the benchmark asks; `change` runs before each repaint of the picture.
void paintAgainstFloor(benchmark::State& state, QWidget& picture, const QSize& size,
                       QWidget* painted = nullptr, const std::function<void()>& change = {})
{
    picture.resize(size);
    picture.show();
    QApplication::processEvents();
    QWidget& drawn = painted ? *painted : picture;
    BareWidget floor;
    floor.resize(drawn.size());
    floor.show();
    QApplication::processEvents();
    double pictureMs = 0;
    double floorMs = 0;
    for (auto _ : state) {
        if (change)
            change();
        pictureMs += repaintMs(drawn);
        floorMs += repaintMs(floor);
    }
    const double iterations = double(state.iterations());
    state.counters["paint_ms"] = pictureMs / iterations;
    state.counters["floor_ms"] = floorMs / iterations;
    state.counters["ratio_to_floor"] = pictureMs / floorMs;
}

void timelineComputation(benchmark::State& state)
{
    const TimelineInput input = thousandJobs(TimelineRange(state.range(0)));
    std::int64_t marks = 0;
    for (auto _ : state) {
        const Timeline timeline = Timeline::make(input);
        benchmark::DoNotOptimize(timeline.summary);
        marks = 0;
        for (const TimelineLane& lane : timeline.lanes)
            marks += lane.marks.size();
    }
    state.counters["marks"] = double(marks);
    state.SetLabel(state.range(0) == 0 ? "24 hours" : "7 days");
}

void timelinePaint(benchmark::State& state)
{
    prepareApplication();
    TimelineCanvas canvas([] { return now; });
    canvas.setTimeline(Timeline::make(thousandJobs(TimelineRange(state.range(0)))));
    // The lanes and their axis; the scroll bar beside them is Qt's and repaints only when moved.
    paintAgainstFloor(state, canvas, timelineSize, canvas.viewport());
    state.SetLabel(state.range(0) == 0 ? "24 hours" : "7 days");
}

// Every repaint draws the whole picture anew: another job is selected each time.
void timelineRedraw(benchmark::State& state)
{
    prepareApplication();
    TimelineCanvas canvas([] { return now; });
    const Timeline timeline = Timeline::make(thousandJobs(TimelineRange(state.range(0))));
    const QUuid jobs[] = {timeline.lanes[0].jobId, timeline.lanes[1].jobId};
    canvas.setTimeline(timeline);
    int turn = 0;
    paintAgainstFloor(state, canvas, timelineSize, canvas.viewport(),
                      [&] { canvas.setSelectedJob(jobs[++turn % 2]); });
    state.SetLabel(state.range(0) == 0 ? "24 hours" : "7 days");
}

void runChartPaint(benchmark::State& state)
{
    prepareApplication();
    RunChartView chart;
    chart.setChart(
        RunChart::make(QStringLiteral("0 * * * *"), recorded(60, 100), std::nullopt, now, berlin));
    paintAgainstFloor(state, chart, chartSize);
}

} // namespace

BENCHMARK(timelineComputation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(timelinePaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(timelineRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(runChartPaint)->Unit(benchmark::kMillisecond);
