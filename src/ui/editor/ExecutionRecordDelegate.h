#pragma once

#include <QFont>
#include <QStyledItemDelegate>

namespace Tempolane {

// Draws a run of the history list: a chevron, the state's symbol and title and the start time,
// with a faint line above every run but the first. Below an unfolded run it makes the view of
// the run's output (or the line saying there is none), which the list keeps open as long as
// the run stays unfolded.
class ExecutionRecordDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ExecutionRecordDelegate(QObject* parent = nullptr);

    // The height of a run's header, without what unfolds below it.
    int headerHeight() const;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    // The output view is read-only and takes Tab like any other control.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int outputHeight(const QModelIndex& index) const;

    QFont m_font;
    QFont m_outputFont;
};

} // namespace Tempolane
