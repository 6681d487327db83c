#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

// The look of the window's frame around the columns: a flat toolbar with rounded buttons and
// a rounded search field, hairlines between the columns. Made from the palette, so light and
// dark each get their own.
namespace Tempolane::WindowChrome {

QString toolBarStyleSheet(const QPalette& palette);
// The line between the columns and below the toolbar.
QColor hairlineColor(const QPalette& palette);

} // namespace Tempolane::WindowChrome
