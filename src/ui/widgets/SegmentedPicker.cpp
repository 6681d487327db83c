#include "SegmentedPicker.h"

#include "ButtonAccessible.h"
#include "Style.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QToolButton>

namespace Tempolane {

namespace {

constexpr int inset = 2;

} // namespace

SegmentedPicker::SegmentedPicker(const QStringList& titles, QWidget* parent) : QFrame(parent)
{
    ButtonAccessible::install();
    Style::mark(this, Style::Control::segmentRow);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->setSpacing(inset);
    for (int index = 0; index < titles.size(); ++index) {
        auto* segment = new QToolButton(this);
        Style::mark(segment, Style::Control::segment);
        segment->setText(titles[index]);
        segment->setToolButtonStyle(Qt::ToolButtonTextOnly);
        segment->setCheckable(true);
        segment->setAutoExclusive(true);
        segment->setFocusPolicy(Qt::TabFocus);
        segment->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_group.addButton(segment, index);
        layout->addWidget(segment);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&m_group, &QButtonGroup::idToggled, this, [this](int index, bool isChecked) {
        if (isChecked)
            Q_EMIT activated(index);
    });
}

void SegmentedPicker::setCurrentIndex(int index)
{
    const QSignalBlocker quiet(m_group);
    if (QAbstractButton* button = m_group.button(index))
        button->setChecked(true);
}

} // namespace Tempolane
