#include "WrappingRow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <algorithm>

namespace Tempolane {

namespace {

QHBoxLayout* groupLayout(QWidget* group, int spacing)
{
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

WrappingRow::WrappingRow(int spacing, QWidget* parent)
    : QWidget(parent), m_spacing(spacing), m_leadingGroup(new QWidget(this)),
      m_trailingGroup(new QWidget(this)), m_leadingLayout(groupLayout(m_leadingGroup, spacing)),
      m_trailingLayout(groupLayout(m_trailingGroup, spacing))
{
    // A button shown or hidden in a group changes what the row needs.
    m_leadingGroup->installEventFilter(this);
    m_trailingGroup->installEventFilter(this);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

bool WrappingRow::fitsOnOneLine(int width) const
{
    const int leading = m_leadingGroup->sizeHint().width();
    const int trailing = m_trailingGroup->sizeHint().width();
    return leading <= 0 || trailing <= 0 || leading + m_spacing + trailing <= width;
}

QSize WrappingRow::sizeHint() const
{
    const QSize leading = m_leadingGroup->sizeHint().expandedTo({0, 0});
    const QSize trailing = m_trailingGroup->sizeHint().expandedTo({0, 0});
    return {leading.width() + m_spacing + trailing.width(),
            std::max(leading.height(), trailing.height())};
}

QSize WrappingRow::minimumSizeHint() const
{
    const QSize leading = m_leadingGroup->sizeHint().expandedTo({0, 0});
    const QSize trailing = m_trailingGroup->sizeHint().expandedTo({0, 0});
    return {std::max(leading.width(), trailing.width()), heightForWidth(0)};
}

int WrappingRow::heightForWidth(int width) const
{
    const int leading = std::max(0, m_leadingGroup->sizeHint().height());
    const int trailing = std::max(0, m_trailingGroup->sizeHint().height());
    if (fitsOnOneLine(width))
        return std::max(leading, trailing);
    return leading + m_spacing + trailing;
}

bool WrappingRow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        placeGroups();
    }
    return QWidget::eventFilter(watched, event);
}

void WrappingRow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeGroups();
}

void WrappingRow::placeGroups()
{
    const QSize leading = m_leadingGroup->sizeHint().expandedTo({0, 0});
    const QSize trailing = m_trailingGroup->sizeHint().expandedTo({0, 0});
    m_leadingGroup->setGeometry(0, 0, leading.width(), leading.height());
    const int trailingTop = fitsOnOneLine(width()) ? 0 : leading.height() + m_spacing;
    m_trailingGroup->setGeometry(width() - trailing.width(), trailingTop, trailing.width(),
                                 trailing.height());
}

} // namespace Tempolane
