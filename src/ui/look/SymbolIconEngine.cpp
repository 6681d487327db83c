#include "SymbolIconEngine.h"

#include "Palette.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

// The icons live in a static library, whose resources are only registered when asked for.
static void registerIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace Tempolane {

namespace {

// The bundled drawings paint their shapes in "currentColor"; the lighter layer of a two-tone
// drawing carries opacity="0.2".
const QByteArray currentColor = QByteArrayLiteral("currentColor");
const QByteArray lighterLayer = QByteArrayLiteral("opacity=\"0.2\"");
constexpr qreal badgeShare = 0.55;
constexpr qreal badgeGapShare = 0.07;
constexpr qreal disabledOpacity = 0.4;

const QByteArray& svgText(const QString& path)
{
    static const bool registered = (registerIconResources(), true);
    Q_UNUSED(registered);
    static QHash<QString, QByteArray> texts;
    auto found = texts.find(path);
    if (found == texts.end()) {
        QFile file(path);
        found = texts.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return *found;
}

QByteArray hex(const QColor& color)
{
    return color.name(QColor::HexRgb).toLatin1();
}

void renderSvg(QPainter& painter, const QString& path, const QColor& color,
               const std::optional<QColor>& layerColor, const QRectF& target)
{
    QByteArray text = svgText(path);
    if (layerColor)
        text.replace(lighterLayer, "fill=\"" + hex(*layerColor) + "\" opacity=\"0.35\"");
    text.replace(currentColor, hex(color));
    QSvgRenderer renderer(text);
    painter.save();
    painter.setOpacity(painter.opacity() * color.alphaF());
    renderer.render(&painter, target);
    painter.restore();
}

} // namespace

SymbolIconEngine::SymbolIconEngine(Files files, SymbolStyle style)
    : m_files(std::move(files)), m_style(style)
{
}

void SymbolIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                             QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap drawn = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
    drawn.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, drawn);
}

QPixmap SymbolIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State)
{
    const QPalette palette = QGuiApplication::palette();
    const QString cacheKey = QStringLiteral("%1x%2/%3/%4/%5")
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(int(mode))
                                 .arg(int(Palette::schemeOf(palette)))
                                 .arg(palette.color(QPalette::HighlightedText).rgba());
    auto cached = m_cache.constFind(cacheKey);
    if (cached != m_cache.constEnd())
        return *cached;
    return *m_cache.insert(cacheKey, QPixmap::fromImage(render(size, mode)));
}

QImage SymbolIconEngine::render(const QSize& pixelSize, QIcon::Mode mode) const
{
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (pixelSize.isEmpty())
        return image;

    const QPalette palette = QGuiApplication::palette();
    // On a highlighted entry of a menu or a picker the symbol takes the colour of the text
    // beside it: in its own tint it would vanish into an accent-coloured highlight.
    const bool highlighted = mode == QIcon::Selected;
    const auto colorOf = [&](Tint tint) {
        return highlighted ? palette.color(QPalette::HighlightedText)
                           : Palette::color(tint, palette);
    };
    const QColor color = colorOf(m_style.tint);
    const std::optional<QColor> secondColor =
        m_style.secondTint ? std::optional(colorOf(*m_style.secondTint)) : std::nullopt;

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (mode == QIcon::Disabled)
        painter.setOpacity(disabledOpacity);
    const QRectF whole(QPointF(0, 0), QSizeF(pixelSize));
    renderSvg(painter, m_files.base, color, secondColor, whole);

    if (!m_files.badge.isEmpty()) {
        const qreal side = std::min(whole.width(), whole.height());
        const qreal badge = side * badgeShare;
        const QRectF badgeRect(whole.right() - badge, whole.bottom() - badge, badge, badge);
        const qreal gap = side * badgeGapShare;
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(badgeRect.adjusted(-gap, -gap, gap, gap));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        renderSvg(painter, m_files.badge, secondColor.value_or(color), std::nullopt, badgeRect);
    }
    return image;
}

QIconEngine* SymbolIconEngine::clone() const
{
    return new SymbolIconEngine(m_files, m_style);
}

QString SymbolIconEngine::key() const
{
    return QStringLiteral("TempolaneSymbol");
}

} // namespace Tempolane
