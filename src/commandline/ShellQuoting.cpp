#include "ShellQuoting.h"

namespace Tempolane {

QString quotedPath(const QString& path)
{
    QString quoted = path;
    quoted.replace(u'\'', QStringLiteral("'\"'\"'"));
    return u'\'' + quoted + u'\'';
}

} // namespace Tempolane
