#pragma once

#include "WindowPresentation.h"

#include <QWidget>

namespace Tempolane {

class ActionButton;
class SymbolView;
class TextLabel;

// A large symbol over a title and a description, centred, with an optional action button:
// what a column shows when it has nothing to list.
class EmptyStateView final : public QWidget
{
    Q_OBJECT

public:
    explicit EmptyStateView(QWidget* parent = nullptr);

    void setState(const WindowPresentation::EmptyState& state);
    QString title() const;
    // The button is shown only for states that offer it; the owner connects it.
    ActionButton* actionButton() const { return m_button; }

private:
    SymbolView* m_symbol;
    TextLabel* m_title;
    TextLabel* m_description;
    ActionButton* m_button;
};

} // namespace Tempolane
