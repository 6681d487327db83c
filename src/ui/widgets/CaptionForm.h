#pragma once

#include "Symbol.h"

#include <QString>
#include <optional>

class QFormLayout;
class QWidget;

namespace Tempolane {

namespace FormMetrics {
inline constexpr int captionWidth = 112;
inline constexpr int captionSpacing = 16;
// Where the controls begin, for rows without a caption.
inline constexpr int controlIndent = captionWidth + captionSpacing;
} // namespace FormMetrics

// Gives `control` at least `width`, and more when its content asks for more (a larger font,
// a longer text): a plain minimum width would let a layout squeeze it below its text.
void setLeastWidth(QWidget* control, int width);

// A form with the captions in a leading column of at least the caption width, so the controls
// of the editor's forms line up, and each control at its own size.
QFormLayout* newCaptionForm(QWidget* owner, int rowSpacing = 0);

// Adds the caption, after a symbol when it has one, and its control. The caption is the
// control's buddy, so a screen reader announces the control with it.
void addCaptionRow(QFormLayout* form, const QString& caption, std::optional<Symbol> symbol,
                   QWidget* control);

// A widget holding a form of one row.
QWidget* newCaptionRow(const QString& caption, std::optional<Symbol> symbol, QWidget* control);

} // namespace Tempolane
