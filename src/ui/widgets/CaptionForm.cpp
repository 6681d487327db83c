#include "CaptionForm.h"

#include "SymbolView.h"
#include "TextLabel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <algorithm>

namespace Tempolane {

namespace {

constexpr int symbolSpacing = 6;
// How much of the caption column a caption's symbol takes: the caption itself is narrower.
constexpr char symbolRoomProperty[] = "tempolaneCaptionSymbolRoom";

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
    label->setProperty(symbolRoomProperty, 0);
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
        label->setProperty(symbolRoomProperty, side + symbolSpacing);
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

CaptionIndent::CaptionIndent(int spacing)
    : QSpacerItem(FormMetrics::controlIndent - spacing, 0, QSizePolicy::Maximum,
                  QSizePolicy::Minimum),
      m_spacing(spacing)
{
}

void CaptionIndent::follow(int captionWidth)
{
    m_captionWidth = captionWidth;
    apply();
}

void CaptionIndent::stack(bool isStacked)
{
    m_isStacked = isStacked;
    apply();
}

void CaptionIndent::apply()
{
    const int width = m_isStacked ? 0 : m_captionWidth + FormMetrics::captionSpacing - m_spacing;
    changeSize(width, 0, QSizePolicy::Maximum, QSizePolicy::Minimum);
}

namespace {

template <typename Change> void changeIndents(QWidget* root, Change change)
{
    for (QLayout* layout : root->findChildren<QLayout*>()) {
        for (int index = 0; index < layout->count(); ++index) {
            if (auto* indent = dynamic_cast<CaptionIndent*>(layout->itemAt(index)->spacerItem())) {
                change(*indent);
                layout->invalidate();
            }
        }
    }
}

} // namespace

void lineUpCaptions(QWidget* root)
{
    QList<QLabel*> captions;
    int width = FormMetrics::captionWidth;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        const QVariant symbolRoom = label->property(symbolRoomProperty);
        if (!symbolRoom.isValid())
            continue;
        captions.append(label);
        width = std::max(width, label->sizeHint().width() + symbolRoom.toInt());
    }
    for (QLabel* label : std::as_const(captions))
        label->setMinimumWidth(width - label->property(symbolRoomProperty).toInt());
    changeIndents(root, [width](CaptionIndent& indent) { indent.follow(width); });
}

void stackCaptions(QWidget* root, bool isStacked)
{
    for (QFormLayout* form : root->findChildren<QFormLayout*>())
        form->setRowWrapPolicy(isStacked ? QFormLayout::WrapAllRows : QFormLayout::DontWrapRows);
    changeIndents(root, [isStacked](CaptionIndent& indent) { indent.stack(isStacked); });
}

} // namespace Tempolane
