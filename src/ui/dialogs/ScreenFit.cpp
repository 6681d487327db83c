#include "ScreenFit.h"

#include "WindowPresentation.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace Tempolane {

QMargins frameAround(const QWidget& window)
{
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    if (outer != inner)
        return {inner.left() - outer.left(), inner.top() - outer.top(),
                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    const QStyle* style = window.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    return {border, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) + border,
            border, border};
}

ScreenFit::ScreenFit(QWidget* dialog, QSize minimum)
    : QObject(dialog), m_dialog(dialog), m_minimum(minimum)
{
    dialog->installEventFilter(this);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_dialog && (event->type() == QEvent::Show || event->type() == QEvent::Move) &&
        m_dialog->isVisible() && frameAround(*m_dialog) != m_fittedFrame)
        fit();
    return false;
}

void ScreenFit::fit()
{
    QRect wanted = m_dialog->geometry();
    // Shown for the first time: where the dialog would centre itself over its window, which it
    // no longer does once placed here.
    if (!m_dialog->testAttribute(Qt::WA_Moved) && m_dialog->parentWidget())
        wanted.moveCenter(m_dialog->parentWidget()->window()->geometry().center());
    QScreen* shownOn = QGuiApplication::screenAt(wanted.center());
    if (!shownOn)
        shownOn = m_dialog->screen();
    m_fittedFrame = frameAround(*m_dialog);
    const auto place = WindowPresentation::fittedPlace(wanted, m_fittedFrame,
                                                       shownOn->availableGeometry(), m_minimum);
    m_dialog->setMinimumSize(place.minimum);
    m_dialog->setGeometry(place.geometry);
}

} // namespace Tempolane
