// One character typed into the search field of the main window over 1,000 and 10,000 jobs, timed
// until the event loop has nothing left to do, so the filtering, the list's update, its layout and
// its paint are in the figure. The floor is the same keystroke into a plain line edit in a window
// of the same size, measured in the same run.
//
// Each text is typed character by character and deleted again, so most keystrokes remove or
// bring back thousands of rows: "sync-12" keeps a few blocks of neighbouring rows, "projekt 1"
// drops every fourth row (the unnamed jobs) once it reaches "projek".
#include "CronBackupStore.h"
#include "CronStore.h"
#include "DataLocations.h"
#include "DemoCronClient.h"
#include "MainWindow.h"
#include "ManyJobs.h"
#include "NullExecutionManager.h"
#include "Palette.h"
#include "ProcessFigures.h"

#include <QApplication>
#include <QCoro/QCoroTask>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

using namespace Tempolane;

namespace {

const QSize windowSize(1280, 800);
const char* const searches[] = {"sync-12", "projekt 1"};

struct Keystroke
{
    double wallMs = 0;
    double cpuMs = 0;

    Keystroke& operator+=(const Keystroke& other)
    {
        wallMs += other.wallMs;
        cpuMs += other.cpuMs;
        return *this;
    }
};

// From the key press to the end of the work it caused, paint included. Backspace for '\0'.
Keystroke timedKeystroke(QWidget* field, char text)
{
    QElapsedTimer clock;
    const double cpuStart = Bench::processorSeconds();
    clock.start();
    if (text)
        QTest::keyClick(field, text);
    else
        QTest::keyClick(field, Qt::Key_Backspace);
    QApplication::processEvents();
    return {double(clock.nsecsElapsed()) / 1e6, (Bench::processorSeconds() - cpuStart) * 1e3};
}

// The characters of one pass: the search typed in full, then deleted again.
QList<char> onePass(const QByteArray& typed)
{
    QList<char> keys(typed.cbegin(), typed.cend());
    keys.append(QList<char>(typed.size(), '\0'));
    return keys;
}

void searchKeystroke(benchmark::State& state)
{
    const int jobCount = int(state.range(0));
    const QByteArray typed(searches[state.range(1)]);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(Palette::qtPalette(ColorScheme::light));
    QTemporaryDir home;
    const DataLocations locations = DataLocations::under(home.path());
    CronStore store(
        std::make_unique<DemoCronClient>(Bench::manyJobsCrontab(jobCount)),
        std::make_unique<CronBackupStore>(locations.backups),
        std::make_shared<NullExecutionManager>(), locations.runner,
        std::make_unique<QSettings>(home.filePath(QStringLiteral("s.ini")), QSettings::IniFormat));
    QCoro::waitFor(store.load());
    MainWindow window(store);
    window.resize(windowSize);
    window.show();
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("searchField"));
    auto* list = window.findChild<QListView*>(QStringLiteral("jobList"));
    // The window loads the crontab again when it is first shown.
    if (!QTest::qWaitFor([&] { return store.hasLoaded() && !store.isLoading(); }, 60'000))
        state.SkipWithError("the window did not load");
    field->setFocus();
    QApplication::processEvents();

    QWidget plainWindow;
    auto* plainField = new QLineEdit(&plainWindow);
    plainField->setFont(field->font());
    plainField->setGeometry(26, 20, 260, 30);
    plainWindow.resize(windowSize);
    plainWindow.show();
    QApplication::processEvents();

    Keystroke total;
    Keystroke floorTotal;
    std::vector<double> cpuTimes;
    qint64 keystrokes = 0;
    qint64 fewestRows = jobCount;
    const QList<char> keys = onePass(typed);
    for (auto _ : state) {
        double iteration = 0;
        for (const char key : keys) {
            plainField->setFocus();
            const Keystroke floor = timedKeystroke(plainField, key);
            field->setFocus();
            const Keystroke search = timedKeystroke(field, key);
            fewestRows = std::min<qint64>(fewestRows, list->model()->rowCount());
            total += search;
            floorTotal += floor;
            cpuTimes.push_back(search.cpuMs);
            iteration += search.wallMs;
            ++keystrokes;
        }
        state.SetIterationTime(iteration / 1e3);
    }
    if (!field->text().isEmpty() || list->model()->rowCount() != jobCount || fewestRows == jobCount)
        state.SkipWithError("the keystrokes did not filter the list");

    state.SetLabel(typed.constData());
    const auto perKeystroke = [&](double sum) { return sum / double(keystrokes); };
    std::sort(cpuTimes.begin(), cpuTimes.end());
    state.counters["keystroke_ms"] = perKeystroke(total.wallMs);
    state.counters["cpu_ms"] = perKeystroke(total.cpuMs);
    // The slowest keystrokes are those that bring thousands of rows back.
    state.counters["p95_cpu_ms"] = cpuTimes[cpuTimes.size() * 95 / 100];
    state.counters["worst_cpu_ms"] = cpuTimes.back();
    state.counters["floor_ms"] = perKeystroke(floorTotal.wallMs);
    state.counters["floor_cpu_ms"] = perKeystroke(floorTotal.cpuMs);
    state.counters["ratio_to_floor"] = total.cpuMs / floorTotal.cpuMs;
}

} // namespace

BENCHMARK(searchKeystroke)
    ->ArgsProduct({{1'000, 10'000}, {0, 1}})
    ->ArgNames({"jobs", "search"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
