#include "FormRow.h"

#include <QHBoxLayout>
#include <QWidget>
#include <algorithm>

namespace Tempolane {

void setLeastWidth(QWidget* control, int width)
{
    control->setMinimumWidth(std::max(width, control->sizeHint().width()));
}

QWidget* formRow(QWidget* caption, QWidget* control)
{
    // At least the column's width, so the controls line up; wider when a large font needs it.
    setLeastWidth(caption, FormMetrics::captionWidth);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(FormMetrics::captionSpacing);
    layout->addWidget(caption, 0, Qt::AlignVCenter);
    layout->addWidget(control, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    return row;
}

} // namespace Tempolane
