#pragma once

#include "Symbol.h"
#include "TextStyle.h"

#include <QWidget>
#include <optional>

namespace Tempolane {

class SymbolView;
class TextLabel;

// A symbol before a text, both in one tint and text style: messages, hints and the captions
// of form rows. The symbol stands beside the first line when the text wraps.
class SymbolLabel final : public QWidget
{
    Q_OBJECT

public:
    SymbolLabel(Symbol symbol, TextStyle style, Tint tint, const QString& text = {},
                QWidget* parent = nullptr);

    // Shown with the message while there is one, hidden while there is none.
    void setMessage(const std::optional<QString>& message);
    void setWordWrap(bool wrap);

private:
    SymbolView* m_symbol;
    TextLabel* m_label;
};

} // namespace Tempolane
