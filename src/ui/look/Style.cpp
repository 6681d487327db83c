#include "Style.h"

#include <QStyleFactory>

namespace Tempolane {

Style::Style()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

} // namespace Tempolane
