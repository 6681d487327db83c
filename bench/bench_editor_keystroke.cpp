// From a keystroke in the job editor's schedule field to the repainted window: the field's
// own update, validation, description, the next five runs and the layout of whatever appears
// or disappears. Each keystroke is timed until the event loop has nothing left to do, so its
// layout and paint are in the figure. The floor is the same keystroke into a plain line edit
// in a window of the same size, measured in the same run.
//
// The expressions are the slow ones for the next-run search (no run, one run in four years,
// one a year, long lists), typed so that each keystroke switches between a valid and an
// invalid text: the message and the next runs appear and disappear every time.
#include "JobEditorView.h"
#include "Palette.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStyleFactory>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <vector>

using namespace Tempolane;

namespace {

const QSize windowSize(820, 1000);

const char* const expressions[] = {
    "0 0 30 2 *",    // never: the search runs to its two-year horizon
    "0 0 29 2 *",    // one run, then a search that finds nothing
    "59 23 31 12 *", // once a year
    "0 0 29 2 1",    // 29 February or any Monday
    "0-59/7,3,5 0-23/5 1-31/3 1-12/2 *",
};

class PaintCounter final : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Keystroke
{
    double wallMs = 0;
    // The form's own reaction (texts, messages, next runs) before layout and paint.
    double reactionMs = 0;
    // Processor time of all threads, which a busy machine does not inflate.
    double cpuMs = 0;
};

// From the key press to the end of the work it caused, paint included.
Keystroke timedKeystroke(QWidget* field, char text)
{
    QElapsedTimer clock;
    const double cpuStart = processCpuMs();
    clock.start();
    if (text)
        QTest::keyClick(field, text);
    else
        QTest::keyClick(field, Qt::Key_Backspace);
    const qint64 reacted = clock.nsecsElapsed();
    QApplication::processEvents();
    return {double(clock.nsecsElapsed()) / 1e6, double(reacted) / 1e6, processCpuMs() - cpuStart};
}

std::unique_ptr<JobEditorView> editorFor(const QString& expression)
{
    JobEditorView::Inputs inputs;
    inputs.originalJob.id = QUuid::createUuid();
    inputs.originalJob.name = QStringLiteral("Bericht");
    inputs.originalJob.scheduleExpression = expression;
    inputs.originalJob.command = QStringLiteral("/usr/local/bin/report.sh");
    JobEditorView::Actions actions;
    actions.save = [](CronJob) {};
    actions.remove = [] {};
    actions.duplicate = [] {};
    auto editor = std::make_unique<JobEditorView>(inputs, actions);
    editor->resize(windowSize);
    editor->show();
    editor->findChild<QWidget*>(QStringLiteral("editorModePicker"))
        ->findChildren<QAbstractButton*>()
        .at(1)
        ->click();
    return editor;
}

void keystrokeToRepaint(benchmark::State& state)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(Palette::qtPalette(ColorScheme::light));
    const QString expression = QString::fromLatin1(expressions[state.range(0)]);
    const char last = expressions[state.range(0)][expression.size() - 1];

    const auto editor = editorFor(expression);
    auto* field = editor->findChild<QLineEdit*>(QStringLiteral("scheduleField"));
    field->setFocus();
    field->end(false);
    PaintCounter painted;
    field->installEventFilter(&painted);

    QWidget plainWindow;
    auto* plainField = new QLineEdit(expression, &plainWindow);
    plainField->setFont(field->font());
    plainField->setGeometry(26, 200, 700, 40);
    plainWindow.resize(windowSize);
    plainWindow.show();
    plainField->setFocus();
    QApplication::processEvents();

    Keystroke editorTotal;
    Keystroke floorTotal;
    std::vector<double> editorTimes;
    qint64 keystrokes = 0;
    for (auto _ : state) {
        double iteration = 0;
        // Deleting the last character makes the text invalid, typing it again valid.
        for (const char text : {'\0', last}) {
            const Keystroke editor = timedKeystroke(field, text);
            const Keystroke floor = timedKeystroke(plainField, text);
            editorTotal.wallMs += editor.wallMs;
            editorTotal.reactionMs += editor.reactionMs;
            editorTotal.cpuMs += editor.cpuMs;
            floorTotal.wallMs += floor.wallMs;
            floorTotal.cpuMs += floor.cpuMs;
            editorTimes.push_back(editor.wallMs);
            iteration += editor.wallMs;
            ++keystrokes;
        }
        state.SetIterationTime(iteration / 1e3);
    }
    if (field->text() != expression || painted.paints == 0)
        state.SkipWithError("the keystrokes did not reach the field or were not painted");

    const auto perKeystroke = [&](double total) { return total / double(keystrokes); };
    state.SetLabel(expressions[state.range(0)]);
    state.counters["keystroke_ms"] = perKeystroke(editorTotal.wallMs);
    std::sort(editorTimes.begin(), editorTimes.end());
    // A busy machine delays a few keystrokes by whole scheduling slices; the 95th percentile
    // shows what typing feels like, the maximum what the worst moment cost.
    state.counters["p95_ms"] = editorTimes[editorTimes.size() * 95 / 100];
    state.counters["worst_ms"] = editorTimes.back();
    state.counters["reaction_ms"] = perKeystroke(editorTotal.reactionMs);
    state.counters["cpu_ms"] = perKeystroke(editorTotal.cpuMs);
    state.counters["floor_ms"] = perKeystroke(floorTotal.wallMs);
    state.counters["floor_cpu_ms"] = perKeystroke(floorTotal.cpuMs);
    state.counters["ratio_to_floor"] = editorTotal.wallMs / floorTotal.wallMs;
    state.counters["paints_per_keystroke"] = double(painted.paints) / double(keystrokes);
}

} // namespace

BENCHMARK(keystrokeToRepaint)
    ->DenseRange(0, std::size(expressions) - 1)
    ->ArgName("expression")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
