#include "AppVersion.h"
#include "ApplicationIcon.h"
#include "DesktopCommandLine.h"
#include "DesktopWindow.h"
#include "DisplayCheck.h"
#include "QtTexts.h"
#include "TempolaneApp.h"
#include "Theme.h"
#include "UpdateController.h"

#include <QApplication>
#include <QLocale>
#include <QSettings>

using namespace Tempolane;

namespace {

void prepare(QCoreApplication& application)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tempolane"));
    QCoreApplication::setApplicationVersion(AppVersion::ofThisBuild().displayedShortVersion());
    // Every text is German; a system without a chosen locale ("C") gets German dates and
    // numbers to match, instead of the C locale's English ones.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    installGermanQtTexts(application);
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

    // Help, version and a display that cannot be reached are answered without Qt's windowing,
    // which would abort where there is no display.
    const bool asksForTextOnly = commandLine.asksForTextOnly(arguments);
    const auto noWindow =
        asksForTextOnly ? std::nullopt : whyNoWindowCanOpen(environment, arguments);
    if (asksForTextOnly || noWindow) {
        QCoreApplication application(argc, argv);
        prepare(application);
        const auto outcome = commandLine.handle(application.arguments(), out, err);
        if (outcome != DesktopCommandLine::Outcome::openWindow)
            return exitCodeOf(outcome);
        err << *noWindow << Qt::endl;
        return 1;
    }

    QApplication application(argc, argv);
    prepare(application);
    const auto outcome = commandLine.handle(application.arguments(), out, err);
    if (outcome != DesktopCommandLine::Outcome::openWindow)
        return exitCodeOf(outcome);

    // The desktop finds the installed entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tempolane.Tempolane"));
    QApplication::setWindowIcon(applicationIcon());
    Theme theme(application);
    UpdateController updates(UpdateController::feedAddress(environment), AppVersion::ofThisBuild());
    TempolaneApp tempolane(environment);
    // Beside the program's other settings, in the user's config folder.
    QSettings layout(QStringLiteral("Tempolane"), QStringLiteral("Tempolane"));
    const auto window = openDesktopWindow(tempolane.store(), updates, &layout);
    return application.exec();
}
