#pragma once

#include "Symbol.h"

#include <QSpacerItem>
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

// Holds the place of a caption in a row without one, so that the row's content starts under
// the controls; in a narrow column it gives way.
class CaptionIndent final : public QSpacerItem
{
public:
    // `spacing` is the room the row itself keeps after the indent.
    explicit CaptionIndent(int spacing);
    void follow(int captionWidth);
    // No indent while the captions stand above their controls.
    void stack(bool isStacked);

private:
    void apply();

    int m_spacing;
    int m_captionWidth = FormMetrics::captionWidth;
    bool m_isStacked = false;
};

// Lines up the captions of every form under `root` on the widest of them, so that all controls
// start in one column, also where a large font or a long translation widens a caption.
void lineUpCaptions(QWidget* root);

// Puts the captions of every form under `root` above their controls, or back beside them: in
// a column too narrow for both side by side all forms change alike, so they stay lined up.
void stackCaptions(QWidget* root, bool isStacked);

} // namespace Tempolane
