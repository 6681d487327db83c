// tempolane-watcher: what `tempolane --background` becomes, without the window system's
// libraries.
#include "AppVersion.h"
#include "BackgroundWatcher.h"
#include "Language.h"

#include <QCoreApplication>

using namespace Tempolane;

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    Language::prepareApplication(application, AppVersion::ofThisBuild().displayedShortVersion());
    QTextStream err(stderr);
    return BackgroundWatcher::run(err);
}
