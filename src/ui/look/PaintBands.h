#pragma once

#include <QRect>
#include <algorithm>

namespace Tempolane {

// Qt hands a fill or an image copy taller than about a hundred rows to its thread pool. For the
// large surfaces of a window the hand-over costs more than the work, and on a busy machine the
// paint waits for a free core: such surfaces are painted in bands of fewer rows.
template <typename Paint> void paintInBands(const QRect& area, Paint paint)
{
    constexpr int bandHeight = 64;
    for (int top = area.top(); top <= area.bottom(); top += bandHeight)
        paint(QRect(area.left(), top, area.width(), std::min(bandHeight, area.bottom() + 1 - top)));
}

} // namespace Tempolane
