#pragma once

#include <QSplitter>

namespace Tempolane {

// Columns side by side with a one-pixel hairline between them, drawn from the palette. A style
// sheet would do the same, but it would hand every widget in the columns to the style-sheet
// style, which overrides their own palettes and paints more slowly.
class ColumnSplitter final : public QSplitter
{
    Q_OBJECT

public:
    explicit ColumnSplitter(QWidget* parent = nullptr);

protected:
    QSplitterHandle* createHandle() override;
};

} // namespace Tempolane
