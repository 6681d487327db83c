#include "ColumnSplitter.h"

#include "WindowChrome.h"

#include <QPainter>

namespace Tempolane {

namespace {

class HairlineHandle final : public QSplitterHandle
{
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), WindowChrome::hairlineColor(palette()));
    }
};

} // namespace

ColumnSplitter::ColumnSplitter(QWidget* parent) : QSplitter(Qt::Horizontal, parent)
{
    setHandleWidth(1);
    setChildrenCollapsible(false);
}

QSplitterHandle* ColumnSplitter::createHandle()
{
    return new HairlineHandle(orientation(), this);
}

} // namespace Tempolane
