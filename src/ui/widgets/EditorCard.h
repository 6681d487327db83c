#pragma once

#include "Palette.h"
#include "RoundedPanel.h"
#include "SymbolIcon.h"

#include <QWidget>

class QVBoxLayout;

namespace Tempolane {

// A translucent rounded panel with a symbol, a title and a subtitle above its content.
class EditorCard final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int cornerRadius = 22;
    static constexpr int padding = 20;
    static constexpr int headerSpacing = 16;

    EditorCard(const QString& title, const QString& subtitle, Symbol symbol, Tint tint,
               QWidget* parent = nullptr);

    // Where the card's owner puts the content, below the header.
    QVBoxLayout* contentLayout() const { return m_content; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QVBoxLayout* m_content;
    RoundedPanel m_panel;
};

} // namespace Tempolane
