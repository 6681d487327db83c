#include "SymbolLabel.h"

#include "SymbolView.h"
#include "TextLabel.h"

#include <QHBoxLayout>

namespace Tempolane {

namespace {

constexpr int symbolSpacing = 6;

} // namespace

SymbolLabel::SymbolLabel(Symbol symbol, TextStyle style, Tint tint, const QString& text,
                         QWidget* parent)
    : QWidget(parent), m_symbol(new SymbolView(this)),
      m_label(new TextLabel(text, style, tint, this))
{
    m_symbol->setSymbol(symbol, {tint});
    m_symbol->setSide(symbolSide(style));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(symbolSpacing);
    layout->addWidget(m_symbol, 0, Qt::AlignTop);
    layout->addWidget(m_label, 1);
}

void SymbolLabel::setMessage(const std::optional<QString>& message)
{
    const QString text = message.value_or(QString());
    if (m_label->text() != text)
        m_label->setText(text);
    setVisible(message.has_value());
}

void SymbolLabel::setWordWrap(bool wrap)
{
    m_label->setWordWrap(wrap);
}

} // namespace Tempolane
