#include "CaptionForm.h"

#include "SymbolView.h"
#include "TextLabel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <algorithm>

namespace Tempolane {

namespace {

constexpr int symbolSpacing = 6;

} // namespace

void setLeastWidth(QWidget* control, int width)
{
    control->setMinimumWidth(std::max(width, control->sizeHint().width()));
}

QFormLayout* newCaptionForm(QWidget* owner, int rowSpacing)
{
    auto* form = new QFormLayout(owner);
    form->setContentsMargins(0, 0, 0, 0);
    form->setHorizontalSpacing(FormMetrics::captionSpacing);
    form->setVerticalSpacing(rowSpacing);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    return form;
}

void addCaptionRow(QFormLayout* form, const QString& caption, std::optional<Symbol> symbol,
                   QWidget* control)
{
    auto* label = new TextLabel(caption, TextStyle::body, Tint::secondary);
    label->setBuddy(control);
    const int row = form->rowCount();
    if (!symbol) {
        setLeastWidth(label, FormMetrics::captionWidth);
        form->setWidget(row, QFormLayout::LabelRole, label);
    } else {
        // The symbol and the caption sit beside the control, not inside a widget of their own:
        // a screen reader looks for a control's caption among its siblings.
        auto* symbolView = new SymbolView;
        const int side = symbolSide(TextStyle::body);
        symbolView->setSymbol(*symbol, {Tint::secondary});
        symbolView->setSide(side);
        setLeastWidth(label, FormMetrics::captionWidth - side - symbolSpacing);
        auto* captionLayout = new QHBoxLayout;
        captionLayout->setSpacing(symbolSpacing);
        captionLayout->addWidget(symbolView, 0, Qt::AlignVCenter);
        captionLayout->addWidget(label, 1);
        form->setLayout(row, QFormLayout::LabelRole, captionLayout);
    }
    form->setWidget(row, QFormLayout::FieldRole, control);
}

QWidget* newCaptionRow(const QString& caption, std::optional<Symbol> symbol, QWidget* control)
{
    auto* row = new QWidget;
    addCaptionRow(newCaptionForm(row), caption, symbol, control);
    return row;
}

} // namespace Tempolane
