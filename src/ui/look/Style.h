#pragma once

#include <QProxyStyle>

namespace Tempolane {

// Tempolane's look over Fusion: the controls stay Qt's own classes and this style draws them,
// with colours from the palette and sizes from the font, so the look lives in one place.
class Style final : public QProxyStyle
{
    Q_OBJECT

public:
    Style();
};

} // namespace Tempolane
