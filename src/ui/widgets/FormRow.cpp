#include "FormRow.h"

#include <QHBoxLayout>
#include <QWidget>

namespace Tempolane {

QWidget* formRow(QWidget* caption, QWidget* control)
{
    // At least the column's width, so the controls line up; wider when a large font needs it.
    caption->setMinimumWidth(FormMetrics::captionWidth);
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
