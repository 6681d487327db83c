#pragma once

#include "SymbolIcon.h"

#include <QHash>
#include <QIconEngine>
#include <QPixmap>

namespace Tempolane {

// Renders a tinted SVG symbol, optionally with a badge in its bottom right corner.
class SymbolIconEngine final : public QIconEngine
{
public:
    struct Files
    {
        QString base;
        QString badge;
    };

    SymbolIconEngine(Files files, SymbolStyle style);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;

private:
    QImage render(const QSize& pixelSize, QIcon::Mode mode) const;

    Files m_files;
    SymbolStyle m_style;
    QHash<QString, QPixmap> m_cache;
};

} // namespace Tempolane
