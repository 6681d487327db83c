#pragma once

#include <QWidget>

class QHBoxLayout;

namespace Tempolane {

// Two groups of controls on one line, the leading group at the start and the trailing group at
// the end. Where the line is too narrow for both, the trailing group moves onto a line of its
// own below, still at the end, so that a narrow column shows every control.
class WrappingRow final : public QWidget
{
    Q_OBJECT

public:
    explicit WrappingRow(int spacing, QWidget* parent = nullptr);

    QHBoxLayout* leading() const { return m_leadingLayout; }
    QHBoxLayout* trailing() const { return m_trailingLayout; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool fitsOnOneLine(int width) const;
    void placeGroups();

    int m_spacing;
    QWidget* m_leadingGroup;
    QWidget* m_trailingGroup;
    QHBoxLayout* m_leadingLayout;
    QHBoxLayout* m_trailingLayout;
};

} // namespace Tempolane
