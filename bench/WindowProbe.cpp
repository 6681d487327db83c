// Starts one window the way a user would meet it, reports on standard output when its list was
// first painted (as a moment on the monotonic clock), with the resident memory then, and (idle
// mode) the CPU time the shown window used over the following minute. The benchmark program runs it
// as a child process, so the figures include loading the program and its libraries.
//
// usage: window-probe floor|sample|thousand|idle
//   floor     a bare QMainWindow with one label: the yardstick
//   sample    the main window on the sample data
//   thousand  the main window on a 1,000-job crontab given to the in-memory client, read from
//             the file named by TEMPOLANE_PROBE_CRONTAB (written by the benchmark beforehand)
//   idle      the sample window, then a minute of nothing
#include "AppVersion.h"
#include "CronBackupStore.h"
#include "CronStore.h"
#include "DataLocations.h"
#include "DemoCronClient.h"
#include "DesktopWindow.h"
#include "NullExecutionManager.h"
#include "ProcessFigures.h"
#include "Theme.h"
#include "UpdateController.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QTimer>
#include <ctime>

using namespace Tempolane;

namespace {

constexpr int idleSeconds = 60;

QString crontabFromFile()
{
    QFile file(qEnvironmentVariable("TEMPOLANE_PROBE_CRONTAB"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Calls back once, after the first paint of the widget that showed what it should.
class FirstPaint final : public QObject
{
public:
    FirstPaint(QWidget* painted, std::function<bool()> isReady, std::function<void()> then)
        : QObject(painted), m_isReady(std::move(isReady)), m_then(std::move(then))
    {
        painted->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen && m_isReady()) {
            m_seen = true;
            // Reported once the paint has been flushed and control is back in the event loop,
            // ahead of anything else queued meanwhile (the editor the window builds next).
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::HighEventPriority);
        }
        return false;
    }

    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        m_then();
        return true;
    }

private:
    std::function<bool()> m_isReady;
    std::function<void()> m_then;
    bool m_seen = false;
};

void report(const char* what, double value)
{
    printf("%s %.6f\n", what, value);
    fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("sample");
    QApplication application(argc, argv);
    // The moment on the monotonic clock, which the benchmark compares with the moment it
    // started this process.
    const auto painted = [] {
        report("rss_kib", double(Bench::statusKiB("VmRSS")));
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        report("painted_at_s", double(now.tv_sec) + double(now.tv_nsec) / 1e9);
    };

    if (mode == "floor") {
        QMainWindow window;
        auto* label = new QLabel(QStringLiteral("Tempolane"));
        window.setCentralWidget(label);
        window.resize(1280, 800);
        new FirstPaint(
            label, [] { return true; },
            [&] {
                painted();
                application.quit();
            });
        window.show();
        return application.exec();
    }

    Theme theme(application);
    const DataLocations locations = DataLocations::forCurrentUser();
    CronStore store(
        std::make_unique<DemoCronClient>(mode == "thousand" ? crontabFromFile()
                                                            : DemoCronClient::sampleText()),
        std::make_unique<CronBackupStore>(locations.backups),
        std::make_shared<NullExecutionManager>(), locations.runner,
        std::make_unique<QSettings>(QStringLiteral("Tempolane"), QStringLiteral("WindowProbe")));
    UpdateController updates(QUrl(), AppVersion::ofThisBuild());
    const auto window = openDesktopWindow(store, updates, nullptr);
    auto* list = window->findChild<QListView*>(QStringLiteral("jobList"));
    new FirstPaint(
        list->viewport(), [list] { return list->model()->rowCount() > 0; },
        [&] {
            painted();
            if (mode != "idle") {
                application.quit();
                return;
            }
            const double before = Bench::processorSeconds();
            QTimer::singleShot(idleSeconds * 1000, &application, [&application, before] {
                report("idle_cpu_s", Bench::processorSeconds() - before);
                application.quit();
            });
        });
    return application.exec();
}
