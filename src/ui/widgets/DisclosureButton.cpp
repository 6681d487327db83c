#include "DisclosureButton.h"

#include "ButtonAccessible.h"
#include "Style.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QKeyEvent>

namespace Tempolane {

namespace {

constexpr int contentSpacing = 8;
constexpr int trailingInset = 6;

} // namespace

DisclosureButton::DisclosureButton(const QString& accessibleName, int verticalPadding,
                                   QWidget* parent)
    : QToolButton(parent), m_layout(new QHBoxLayout(this)), m_verticalPadding(verticalPadding)
{
    ButtonAccessible::install();
    Style::mark(this, Style::Control::disclosure);
    setAccessibleName(accessibleName);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_layout->setSpacing(contentSpacing);
    placeContent();
    connect(this, &QAbstractButton::toggled, this, [this] {
        QAccessible::State changed;
        changed.expanded = true;
        changed.collapsed = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    });
}

void DisclosureButton::addContent(QWidget* widget, int stretch)
{
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_layout->addWidget(widget, stretch);
}

void DisclosureButton::addStretch()
{
    m_layout->addStretch(1);
}

QSize DisclosureButton::sizeHint() const
{
    // The size of what the header holds, not of a tool button's text.
    return QWidget::sizeHint();
}

QSize DisclosureButton::minimumSizeHint() const
{
    return QWidget::minimumSizeHint();
}

void DisclosureButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return event->accept();
    }
    QToolButton::keyPressEvent(event);
}

void DisclosureButton::changeEvent(QEvent* event)
{
    QToolButton::changeEvent(event);
    const QEvent::Type type = event->type();
    if (type == QEvent::FontChange || type == QEvent::StyleChange ||
        type == QEvent::LayoutDirectionChange)
        placeContent();
}

void DisclosureButton::placeContent()
{
    const int indent = style()->pixelMetric(Style::PM_DisclosureIndent, nullptr, this);
    const bool leftToRight = layoutDirection() == Qt::LeftToRight;
    m_layout->setContentsMargins(leftToRight ? indent : trailingInset, m_verticalPadding,
                                 leftToRight ? trailingInset : indent, m_verticalPadding);
}

} // namespace Tempolane
