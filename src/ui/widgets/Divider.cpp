#include "Divider.h"

#include <QFrame>

namespace Tempolane {

QFrame* newDivider()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setObjectName(QStringLiteral("divider"));
    // The spacing around it is measured for a hairline, not for a frame's three pixels.
    line->setFixedHeight(1);
    return line;
}

} // namespace Tempolane
