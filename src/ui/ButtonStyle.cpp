#include "ButtonStyle.h"

#include "Palette.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>

namespace Tempolane::ButtonStyle {

namespace {

// Re-colours its button whenever the application palette changes.
class Tinting final : public QObject
{
public:
    Tinting(QAbstractButton* button, Tint tint, bool isProminent)
        : QObject(button), m_button(button), m_tint(tint), m_isProminent(isProminent)
    {
        button->installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange)
            apply();
        return false;
    }

private:
    void apply()
    {
        const QPalette application = QApplication::palette();
        const QColor tint = Palette::color(m_tint, application);
        m_button->setStyleSheet(m_isProminent ? prominentSheet(tint)
                                              : plainSheet(tint, application));
    }

    static QString rgba(const QColor& color, qreal alpha = 1)
    {
        return QStringLiteral("rgba(%1, %2, %3, %4)")
            .arg(color.red())
            .arg(color.green())
            .arg(color.blue())
            .arg(color.alphaF() * alpha);
    }

    static QString prominentSheet(const QColor& tint)
    {
        return QStringLiteral("QAbstractButton { background-color: %1; color: white; border: none;"
                              " border-radius: 6px; padding: 5px 14px; font-weight: 600; }"
                              "QAbstractButton:hover { background-color: %2; }"
                              "QAbstractButton:pressed { background-color: %3; }"
                              "QAbstractButton:focus { border: 2px solid %4; padding: 3px 12px; }"
                              "QAbstractButton:disabled { background-color: %5;"
                              " color: rgba(255, 255, 255, 0.8); }")
            .arg(rgba(tint), rgba(tint.lighter(110)), rgba(tint.darker(115)),
                 rgba(tint.lighter(140)), rgba(tint, 0.4));
    }

    static QString plainSheet(const QColor& tint, const QPalette& palette)
    {
        const QColor primary = Palette::color(Tint::primary, palette);
        return QStringLiteral("QAbstractButton { background-color: transparent; color: %1;"
                              " border: none; border-radius: 6px; padding: 5px 10px; }"
                              "QAbstractButton:hover { background-color: %2; }"
                              "QAbstractButton:pressed { background-color: %3; }"
                              "QAbstractButton:focus { border: 2px solid %4; padding: 3px 8px; }")
            .arg(rgba(tint), rgba(primary, 0.06), rgba(primary, 0.12),
                 rgba(Palette::color(Tint::indigo, palette), 0.5));
    }

    QAbstractButton* m_button;
    Tint m_tint;
    bool m_isProminent;
};

} // namespace

void makeProminent(QAbstractButton* button, Tint tint)
{
    new Tinting(button, tint, true);
}

void makePlain(QAbstractButton* button, Tint tint)
{
    new Tinting(button, tint, false);
}

} // namespace Tempolane::ButtonStyle
