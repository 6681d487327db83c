#include "ApplicationIcon.h"

// The icon lives in a static library, whose resources are only registered when asked for.
static void registerApplicationResources()
{
    Q_INIT_RESOURCE(application);
}

namespace Tempolane {

QIcon applicationIcon()
{
    static const bool registered = (registerApplicationResources(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/application/io.github.tempolane.Tempolane.svg"));
}

} // namespace Tempolane
