#include "SpringContainer.h"

#include <QEvent>
#include <QLayout>
#include <cmath>

namespace Tempolane {

namespace {

// A spring with a response of 0.5 s and a damping fraction of 0.85: it overshoots a little and
// has settled after about 0.6 s.
constexpr int springMilliseconds = 600;
constexpr double response = 0.5;
constexpr double damping = 0.85;

qreal spring(qreal progress)
{
    const double omega = 2 * M_PI / response;
    const double decay = damping * omega;
    const double dampedOmega = omega * std::sqrt(1 - damping * damping);
    const double time = progress * springMilliseconds / 1000.0;
    return 1 - std::exp(-decay * time) * (std::cos(dampedOmega * time) +
                                          decay / dampedOmega * std::sin(dampedOmega * time));
}

} // namespace

SpringContainer::SpringContainer(QWidget* content, QWidget* parent)
    : QWidget(parent), m_content(content)
{
    m_content->setParent(this);
    m_content->installEventFilter(this);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QEasingCurve curve;
    curve.setCustomType(spring);
    m_animation.setEasingCurve(curve);
    m_animation.setDuration(springMilliseconds);
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_animatedHeight = value.toInt();
        updateGeometry();
    });
    connect(&m_animation, &QVariantAnimation::finished, this, &SpringContainer::finish);
}

void SpringContainer::prepareChange()
{
    m_startHeight = m_animatedHeight.value_or(height());
}

void SpringContainer::commitChange()
{
    m_animation.stop();
    if (m_content->layout())
        m_content->layout()->activate();
    if (!isVisible() || m_startHeight == contentHeight())
        return finish();
    m_animatedHeight = m_startHeight;
    m_animation.setStartValue(m_startHeight);
    m_animation.setEndValue(contentHeight());
    m_animation.start();
    placeContent();
}

void SpringContainer::finish()
{
    m_animation.stop();
    m_animatedHeight.reset();
    updateGeometry();
    placeContent();
}

int SpringContainer::contentHeight() const
{
    return m_content->sizeHint().height();
}

QSize SpringContainer::sizeHint() const
{
    return {m_content->sizeHint().width(), m_animatedHeight.value_or(contentHeight())};
}

QSize SpringContainer::minimumSizeHint() const
{
    return {m_content->minimumSizeHint().width(), m_animatedHeight.value_or(contentHeight())};
}

bool SpringContainer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_content && event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        placeContent();
    }
    return QWidget::eventFilter(watched, event);
}

void SpringContainer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeContent();
}

void SpringContainer::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    finish();
}

void SpringContainer::placeContent()
{
    m_content->setGeometry(0, 0, width(), std::max(contentHeight(), height()));
}

} // namespace Tempolane
