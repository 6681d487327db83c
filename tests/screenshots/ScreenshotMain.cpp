// Renders the main states of the windows offscreen, once in light and once in dark (the scenes
// that ask for it also with high contrast), the main window as a desktop that prefers dark gets
// it, and every state once more in English (light), to PNG files for review:
// tempolane-screenshots <output directory>.
#include "Language.h"
#include "Palette.h"
#include "PortalStandIn.h"
#include "Scene.h"
#include "Style.h"
#include "Theme.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>
#include <QTextStream>
#include <functional>

using namespace Tempolane;
using namespace Tempolane::Screenshots;

namespace {

QScreen* screenNamed(const QString& name)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto found = std::ranges::find_if(
        screens, [&](const QScreen* screen) { return screen->name() == name; });
    return found == screens.end() ? nullptr : *found;
}

QImage picture(const Scene& scene, const std::function<void()>& whenShown = {})
{
    const QFont desktop = QApplication::font();
    QFont scaled = desktop;
    scaled.setPointSizeF(desktop.pointSizeF() * scene.fontScale);
    QApplication::setFont(scaled);
    QApplication::setLayoutDirection(scene.direction);
    QImage taken;
    {
        const std::unique_ptr<QWidget> widget = scene.make();
        if (QScreen* screen = screenNamed(scene.screen)) {
            widget->setScreen(screen);
            widget->move(screen->availableGeometry().topLeft());
        } else {
            widget->resize(scene.size);
        }
        widget->show();
        settle();
        if (whenShown) {
            whenShown();
            settle();
        }
        taken = scene.grab ? scene.grab(*widget) : widget->grab().toImage();
    }
    QApplication::setFont(desktop);
    QApplication::setLayoutDirection(Qt::LeftToRight);
    return taken;
}

bool save(const QImage& image, const QString& path)
{
    if (!image.save(path)) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    QTextStream(stdout) << path << '\n';
    return true;
}

// The main window as a desktop whose portal prefers dark gets it: the program asks the portal
// before building the window ("dark-at-start"), and a window built light follows the switch
// to dark ("switched-to-dark"). Returns the number of pictures not written.
int desktopSchemeScenes(const QList<Scene>& scenes, const QDir& output)
{
    Testing::PrivateSessionBus bus;
    Testing::PortalStandIn portal(bus, {{QStringLiteral("color-scheme"), 1u}});
    if (!portal.isServing()) {
        QTextStream(stderr) << "no portal stand-in on a private session bus\n";
        return 1;
    }
    const auto colorScheme = [&portal](uint preference) {
        portal.change(QStringLiteral("color-scheme"), preference);
        QTest::qWait(100);
    };
    int failures = 0;
    for (const Scene& scene : scenes) {
        QApplication::setPalette(Palette::qtPalette(ColorScheme::light));
        colorScheme(1);
        {
            Theme theme(*qApp, bus.connect());
            failures += !save(picture(scene),
                              output.filePath(scene.name + QStringLiteral("-dark-at-start.png")));
        }
        colorScheme(2);
        Theme theme(*qApp, bus.connect());
        failures += !save(picture(scene, [&] { colorScheme(1); }),
                          output.filePath(scene.name + QStringLiteral("-switched-to-dark.png")));
    }
    return failures;
}

} // namespace

int main(int argc, char** argv)
{
    // The tests' desktop: a large first screen, and laptop and office screens at 100 and 150 %.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TEMPOLANE_OFFSCREEN_SCREENS);
    QApplication application(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: tempolane-screenshots <output directory>\n";
        return 2;
    }
    QTextStream errors(stderr);
    Language::install(application, {}, errors);
    const QDir output(QString::fromLocal8Bit(argv[1]));
    if (!output.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "cannot create " << output.path() << '\n';
        return 1;
    }

    // Our style and palettes, without asking the desktop which scheme it prefers.
    QApplication::setStyle(new Style);
    const QList<Scene> scenes = everyScene();
    int failures = 0;
    for (const auto& [appearance, suffix] :
         {std::pair(Appearance{ColorScheme::light, Contrast::standard, {}}, "light"),
          std::pair(Appearance{ColorScheme::dark, Contrast::standard, {}}, "dark"),
          std::pair(Appearance{ColorScheme::light, Contrast::high, {}}, "light-high-contrast"),
          std::pair(Appearance{ColorScheme::dark, Contrast::high, {}}, "dark-high-contrast")}) {
        QApplication::setPalette(Palette::qtPalette(appearance));
        for (const Scene& scene : scenes) {
            if (appearance.contrast == Contrast::high && !scene.alsoHighContrast)
                continue;
            const QString path = output.filePath(scene.name + u'-' + QString::fromLatin1(suffix) +
                                                 QStringLiteral(".png"));
            failures += !save(picture(scene), path);
        }
    }
    failures += desktopSchemeScenes(mainWindowScenes(), output);

    // As an American desktop shows them: English texts, a 12-hour clock.
    Language::install(application,
                      {QLocale::English, QLocale(QLocale::English, QLocale::UnitedStates)}, errors);
    QApplication::setPalette(Palette::qtPalette(ColorScheme::light));
    for (const Scene& scene : everyScene())
        failures +=
            !save(picture(scene), output.filePath(scene.name + QStringLiteral("-en-light.png")));
    return failures == 0 ? 0 : 1;
}
