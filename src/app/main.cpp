#include "AppVersion.h"
#include "ApplicationIcon.h"
#include "BackgroundWatcher.h"
#include "DesktopCommandLine.h"
#include "DesktopWindow.h"
#include "DisplayCheck.h"
#include "JobShowing.h"
#include "Language.h"
#include "SessionBus.h"
#include "TempolaneApp.h"
#include "Theme.h"
#include "UpdateController.h"
#include "WindowRequest.h"
#include "WindowService.h"

#include <QApplication>
#include <QSettings>

using namespace Tempolane;

namespace {

void prepare(QCoreApplication& application)
{
    Language::prepareApplication(application, AppVersion::ofThisBuild().displayedShortVersion());
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int exitCodeOf(DesktopCommandLine::Outcome outcome)
{
    return outcome == DesktopCommandLine::Outcome::exitSuccessfully ? 0 : 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    DesktopCommandLine commandLine;
    const QStringList arguments = argumentsOf(argc, argv);
    const auto environment = QProcessEnvironment::systemEnvironment();

    if (commandLine.asksForBackground(arguments)) {
        // The watcher's own program loads no window system, which would double its memory;
        // where it is missing the watcher runs here.
        BackgroundWatcher::replaceProcess();
        QCoreApplication application(argc, argv);
        prepare(application);
        return BackgroundWatcher::run(err);
    }

    // Help, version and a display that cannot be reached are answered without Qt's windowing,
    // which would abort where there is no display.
    const bool asksForTextOnly = commandLine.asksForTextOnly(arguments);
    DisplayCheck display;
    if (!asksForTextOnly)
        display = DisplayCheck(environment, arguments);
    const auto& noWindow = display.refusal();
    if (asksForTextOnly || noWindow) {
        QCoreApplication application(argc, argv);
        prepare(application);
        const auto outcome = commandLine.handle(application.arguments(), out, err);
        if (outcome != DesktopCommandLine::Outcome::openWindow)
            return exitCodeOf(outcome);
        err << *noWindow << Qt::endl;
        return 1;
    }

    // Before Qt's own uses of the session bus, which would wait long on a silent one.
    SessionBus::prepare();
    QApplication application(argc, argv);
    // Qt holds its own connection to the display now.
    display.handOver();
    prepare(application);
    const auto outcome = commandLine.handle(application.arguments(), out, err);
    if (outcome != DesktopCommandLine::Outcome::openWindow)
        return exitCodeOf(outcome);

    // The desktop finds the installed entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tempolane.Tempolane"));
    QApplication::setWindowIcon(applicationIcon());
    const QDBusConnection bus = SessionBus::connection();
    Theme theme(application, bus);
    UpdateController updates(UpdateController::feedAddress(environment), AppVersion::ofThisBuild());
    TempolaneApp tempolane(environment);
    // One window per session: a second start brings the first one forward instead.
    WindowService windowService(tempolane.store());
    if (!windowService.registerOn(bus) && WindowRequest::handOver(bus, commandLine.jobToShow()))
        return 0;
    // Beside the program's other settings, in the user's config folder.
    QSettings layout(QStringLiteral("Tempolane"), QStringLiteral("Tempolane"));
    const auto window = openDesktopWindow(tempolane.store(), updates, &layout);
    windowService.setWindow(window.get());
    showJob(tempolane.store(), commandLine.jobToShow());
    return application.exec();
}
