#include "Divider.h"

#include <QFrame>

namespace Tempolane {

QFrame* newDivider()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setObjectName(QStringLiteral("divider"));
    return line;
}

} // namespace Tempolane
