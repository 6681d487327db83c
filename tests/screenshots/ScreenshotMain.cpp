// Renders the main states of the windows offscreen, once in light and once in dark, to PNG
// files for review: tempolane-screenshots <output directory>.
#include "Palette.h"
#include "Scene.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <QTextStream>

using namespace Tempolane;
using namespace Tempolane::Screenshots;

namespace {

QImage picture(const Scene& scene)
{
    const QFont desktop = QApplication::font();
    QFont scaled = desktop;
    scaled.setPointSizeF(desktop.pointSizeF() * scene.fontScale);
    QApplication::setFont(scaled);
    QImage taken;
    {
        const std::unique_ptr<QWidget> widget = scene.make();
        widget->resize(scene.size);
        widget->show();
        // Layouts settle and posted work (queued dialogs, first paints) is done.
        for (int round = 0; round < 3; ++round)
            QApplication::processEvents();
        taken = scene.grab ? scene.grab(*widget) : widget->grab().toImage();
    }
    QApplication::setFont(desktop);
    return taken;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: tempolane-screenshots <output directory>\n";
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QDir output(QString::fromLocal8Bit(argv[1]));
    if (!output.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "cannot create " << output.path() << '\n';
        return 1;
    }

    // Our style and palettes, without asking the desktop which scheme it prefers.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QList<Scene> scenes = editorScenes() + mainWindowScenes();
    int failures = 0;
    for (const auto& [scheme, suffix] :
         {std::pair(ColorScheme::light, "light"), std::pair(ColorScheme::dark, "dark")}) {
        QApplication::setPalette(Palette::qtPalette(scheme));
        for (const Scene& scene : scenes) {
            const QString path = output.filePath(scene.name + u'-' + QString::fromLatin1(suffix) +
                                                 QStringLiteral(".png"));
            if (!picture(scene).save(path)) {
                QTextStream(stderr) << "cannot write " << path << '\n';
                ++failures;
                continue;
            }
            QTextStream(stdout) << path << '\n';
        }
    }
    return failures == 0 ? 0 : 1;
}
