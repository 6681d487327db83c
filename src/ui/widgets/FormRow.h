#pragma once

class QWidget;

namespace Tempolane {

namespace FormMetrics {
inline constexpr int captionWidth = 112;
inline constexpr int captionSpacing = 16;
// Where the controls begin, for rows without a caption.
inline constexpr int controlIndent = captionWidth + captionSpacing;
} // namespace FormMetrics

// A caption in the forms' leading column beside its control, so that the controls of all the
// editor's rows line up.
QWidget* formRow(QWidget* caption, QWidget* control);

} // namespace Tempolane
