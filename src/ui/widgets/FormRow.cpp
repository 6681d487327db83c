#include "FormRow.h"

#include <QHBoxLayout>
#include <QWidget>

namespace Tempolane {

QWidget* formRow(QWidget* caption, QWidget* control)
{
    caption->setFixedWidth(FormMetrics::captionWidth);
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
