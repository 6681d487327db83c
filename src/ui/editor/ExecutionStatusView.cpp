#include "ExecutionStatusView.h"

#include "ClampedLabel.h"
#include "SymbolView.h"
#include "TextLabel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int symbolSpacing = 12;
constexpr int titleSpacing = 3;
constexpr int factsSpacing = 12;
constexpr int factRowSpacing = 4;
constexpr int factColumnSpacing = 16;
constexpr int detailLines = 2;

} // namespace

ExecutionStatusView::ExecutionStatusView(QWidget* parent)
    : QWidget(parent), m_symbol(new SymbolView), m_title(new TextLabel(TextStyle::headline)),
      m_detail(new ClampedLabel(detailLines, TextStyle::caption, Tint::secondary)),
      m_facts(new QGridLayout)
{
    m_symbol->setObjectName(QStringLiteral("statusSymbol"));
    m_symbol->setSide(symbolSide(TextStyle::title3));
    m_title->setObjectName(QStringLiteral("statusTitle"));
    m_title->setWordWrap(true);
    m_detail->setObjectName(QStringLiteral("statusDetail"));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(titleSpacing);
    texts->addWidget(m_title);
    texts->addWidget(m_detail);
    auto* top = new QHBoxLayout;
    top->setSpacing(symbolSpacing);
    top->addWidget(m_symbol, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    m_facts->setHorizontalSpacing(factColumnSpacing);
    m_facts->setVerticalSpacing(factRowSpacing);
    m_facts->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(factsSpacing);
    layout->addLayout(top);
    layout->addLayout(m_facts);
}

void ExecutionStatusView::present(const ExecutionPanel::StatusBlock& block)
{
    m_symbol->setSymbol(block.appearance.symbol,
                        {block.appearance.tint, SymbolRendering::hierarchical});
    m_symbol->setAccessibleName(block.title);
    m_symbol->setEffect(block.pulses ? SymbolView::Effect::pulse : SymbolView::Effect::none);
    m_title->setText(block.title);
    m_title->setTint(block.appearance.tint);

    m_detail->setVisible(block.detail.has_value());
    m_detail->setText(block.detail.value_or(QString()));
    m_detail->setMonospaced(block.isDetailOutput);

    for (TextLabel* label : std::as_const(m_factLabels))
        delete label;
    m_factLabels.clear();
    for (int row = 0; row < block.facts.size(); ++row) {
        auto* label =
            new TextLabel(block.facts[row].label, TextStyle::subheadline, Tint::secondary);
        auto* value = new TextLabel(block.facts[row].value, TextStyle::subheadline);
        m_facts->addWidget(label, row, 0);
        m_facts->addWidget(value, row, 1);
        m_factLabels << label << value;
    }
}

} // namespace Tempolane
