#pragma once

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

// A caption in the forms' leading column beside its control, so that the controls of all the
// editor's rows line up.
QWidget* formRow(QWidget* caption, QWidget* control);

} // namespace Tempolane
