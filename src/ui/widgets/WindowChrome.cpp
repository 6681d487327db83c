#include "WindowChrome.h"

#include "Palette.h"

namespace Tempolane::WindowChrome {

namespace {

QString rgba(QColor color)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF());
}

} // namespace

QColor hairlineColor(const QPalette& palette)
{
    return Palette::role(Role::hairline, palette);
}

QString toolBarStyleSheet(const QPalette& palette)
{
    const QColor primary = Palette::color(Tint::primary, palette);
    return QStringLiteral(
               "QToolBar { background: %1; border: none; border-bottom: 1px solid %2;"
               " padding: 6px 10px; spacing: 4px; }"
               "QToolBar QToolButton { border: none; border-radius: 7px; padding: 5px 9px;"
               " color: %3; }"
               "QToolBar QToolButton:hover { background: %4; }"
               "QToolBar QToolButton:pressed { background: %5; }"
               "QToolBar QToolButton:disabled { color: %6; }"
               // Reached by Tab only (a click does not focus them): the ring shows where it is.
               "QToolBar QToolButton:focus { border: 1px solid %8; padding: 4px 8px; }"
               // No colour of its own for the field's text: Qt would derive the prompt's from it
               // at half strength, too faint to read.
               "QLineEdit { background: %7; border: 1px solid %2; border-radius: 8px;"
               " padding: 4px 8px; }"
               "QLineEdit:focus { border: 1px solid %8; }")
        .arg(rgba(palette.color(QPalette::Window)), rgba(hairlineColor(palette)), rgba(primary),
             rgba(Palette::role(Role::toolHover, palette)),
             rgba(Palette::role(Role::toolPressed, palette)),
             rgba(Palette::color(Tint::tertiary, palette)), rgba(palette.color(QPalette::Base)),
             rgba(Palette::color(Tint::indigo, palette)));
}

} // namespace Tempolane::WindowChrome
