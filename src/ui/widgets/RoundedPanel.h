#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;
class QRegion;

namespace Tempolane {

// A rounded rectangle with a translucent fill and a thin edge, drawn with antialiasing: cards
// and wells. The curves and the edge cost far more to draw than the plain middle, and a form
// repaints its panels whenever anything in them moves. So the corners and a strip of each
// edge are drawn once per look (sizes aside) into pictures; the corners are copied, the strips
// laid along the edges, and the middle filled directly. The middle and the edges end up
// exactly as drawing the path leaves them; antialiased pixels of the curves may differ by one
// step of a colour channel, as the curves are drawn at another place in the pictures.
class RoundedPanel final
{
public:
    struct Look
    {
        QSize size;
        qreal ratio = 1;
        qreal radius = 0;
        QColor fill;
        QColor edge;
        qreal edgeWidth = 1;
    };

    // Paints the panel over the whole rectangle of the look's size; only what lies in
    // `exposed` is touched.
    void paint(QPainter& painter, const Look& look, const QRegion& exposed);

private:
    // The fill, then the edge over it, of one part of a panel.
    struct Layers
    {
        QImage fill;
        QImage edge;
    };

    void prepare(const Look& look);
    Layers layers(const QRect& part) const;
    static void draw(QPainter& painter, const QRect& target, const Layers& layers,
                     const QRegion& exposed);

    Look m_prepared;
    bool m_isPrepared = false;
    // The panel the pictures are cut from.
    QSize m_template;
    // Side of the corner squares and width of the edge bands, in device-independent pixels.
    int m_corner = 0;
    int m_band = 0;
    Layers m_corners[4];
    Layers m_horizontalStrips[2];
    Layers m_verticalStrips[2];
};

} // namespace Tempolane
