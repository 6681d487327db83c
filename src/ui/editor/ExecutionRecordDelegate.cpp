#include "ExecutionRecordDelegate.h"

#include "ExecutionHistoryModel.h"
#include "FieldWell.h"
#include "Palette.h"
#include "Style.h"
#include "SymbolIcon.h"
#include "TextLabel.h"
#include "TextStyle.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace Tempolane {

namespace {

constexpr int verticalPadding = 7;
constexpr int chevronInset = 6;
constexpr int chevronSide = 8;
constexpr int contentSpacing = 8;
constexpr qreal hoverRadius = 6;
constexpr int emptyPadding = 6;
constexpr int maximumOutputLines = 14;
constexpr int outputMargin = 6;
constexpr int wellPadding = 3;
// One pixel more than the lines need, or the view offers to scroll by one line.
constexpr int outputSlack = 2;

bool hasOutput(const QModelIndex& index)
{
    return !index.data(ExecutionHistoryModel::outputRole).isNull();
}

} // namespace

ExecutionRecordDelegate::ExecutionRecordDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_font(styledFont(TextStyle::caption)),
      m_outputFont(styledFont(TextStyle::caption, true))
{
}

int ExecutionRecordDelegate::headerHeight() const
{
    return std::max(symbolSide(TextStyle::caption), QFontMetrics(m_font).height()) +
           2 * verticalPadding;
}

int ExecutionRecordDelegate::outputHeight(const QModelIndex& index) const
{
    if (!hasOutput(index))
        return QFontMetrics(m_font).height() + 2 * emptyPadding;
    const QString output = index.data(ExecutionHistoryModel::outputRole).toString();
    const int lines = std::min(int(output.count(u'\n')) + 1, maximumOutputLines);
    const int scrollBar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return lines * QFontMetrics(m_outputFont).lineSpacing() + 2 * outputMargin + scrollBar +
           outputSlack + 2 * wellPadding;
}

QSize ExecutionRecordDelegate::sizeHint(const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    const bool isExpanded = index.data(ExecutionHistoryModel::isExpandedRole).toBool();
    return {option.rect.width(), headerHeight() + (isExpanded ? outputHeight(index) : 0)};
}

void ExecutionRecordDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const QPalette& palette = option.palette;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (index.row() > 0) {
        painter->fillRect(QRect(option.rect.left(), option.rect.top(), option.rect.width(), 1),
                          Palette::role(Role::separator, palette));
    }
    const QRect header(option.rect.left(), option.rect.top(), option.rect.width(), headerHeight());
    const QRectF area = QRectF(header).adjusted(0.5, 1.5, -0.5, -0.5);
    if (option.state & QStyle::State_MouseOver) {
        QPainterPath path;
        path.addRoundedRect(area, hoverRadius, hoverRadius);
        painter->fillPath(path, Palette::role(Role::disclosureHover, palette));
    }
    Style::drawFocusRing(painter, &option, area, hoverRadius);

    const bool isExpanded = index.data(ExecutionHistoryModel::isExpandedRole).toBool();
    // The same arrow as a disclosure header's: right (left in right-to-left) or down.
    QStyleOption arrow;
    arrow.initFrom(option.widget);
    arrow.rect =
        QStyle::visualRect(option.direction, header,
                           QRect(header.left() + chevronInset,
                                 header.center().y() - chevronSide / 2, chevronSide, chevronSide));
    const QStyle::PrimitiveElement collapsed = option.direction == Qt::RightToLeft
                                                   ? QStyle::PE_IndicatorArrowLeft
                                                   : QStyle::PE_IndicatorArrowRight;
    option.widget->style()->drawPrimitive(isExpanded ? QStyle::PE_IndicatorArrowDown : collapsed,
                                          &arrow, painter, option.widget);

    const QRect content =
        header.adjusted(chevronInset + chevronSide + contentSpacing, 0, -chevronInset, 0);
    const int side = symbolSide(TextStyle::caption);
    // Laid out left to right, then mirrored in a right-to-left layout like the arrow.
    const auto shown = [&](const QRect& area) {
        return QStyle::visualRect(option.direction, header, area);
    };
    const QRect symbolRect(content.left(), content.center().y() - side / 2 + 1, side, side);
    symbolIcon(index.data(ExecutionHistoryModel::symbolRole).value<Symbol>(),
               {index.data(ExecutionHistoryModel::tintRole).value<Tint>()})
        .paint(painter, shown(symbolRect));

    const QFontMetrics metrics(m_font);
    const QString time = index.data(ExecutionHistoryModel::startedAtTextRole).toString();
    const int timeWidth = metrics.horizontalAdvance(time);
    painter->setFont(m_font);
    painter->setPen(Palette::color(Tint::secondary, palette));
    painter->drawText(
        shown(content),
        int(QStyle::visualAlignment(option.direction, Qt::AlignRight)) | Qt::AlignVCenter, time);

    const QRect titleRect(symbolRect.right() + 1 + contentSpacing, content.top(),
                          content.right() - timeWidth - contentSpacing - symbolRect.right() -
                              contentSpacing,
                          content.height());
    painter->setPen(Palette::color(Tint::primary, palette));
    painter->drawText(shown(titleRect),
                      int(QStyle::visualAlignment(option.direction, Qt::AlignLeft)) |
                          Qt::AlignVCenter,
                      metrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                         titleRect.width()));
    painter->restore();
}

QWidget* ExecutionRecordDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                               const QModelIndex& index) const
{
    if (!hasOutput(index)) {
        auto* none = new TextLabel(TextStyle::caption, Tint::secondary, parent);
        none->setObjectName(QStringLiteral("recordWithoutOutput"));
        none->setContentsMargins(0, emptyPadding, 0, emptyPadding);
        return none;
    }
    // The run's output as it was written: fixed width, not wrapped, selectable for copying.
    auto* view = new QPlainTextEdit;
    view->setObjectName(QStringLiteral("recordOutput"));
    view->setAccessibleName(QCoreApplication::translate("ExecutionEditor", "Meldungen"));
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setTabChangesFocus(true);
    view->setFont(m_outputFont);
    keepLeftToRight(view);
    view->setFrameShape(QFrame::NoFrame);
    view->document()->setDocumentMargin(outputMargin);
    auto* well = new FieldWell(view, {wellPadding, wellPadding, wellPadding, wellPadding}, parent);
    well->setFocusProxy(view);
    return well;
}

void ExecutionRecordDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* view = editor->findChild<QPlainTextEdit*>()) {
        const QString output = index.data(ExecutionHistoryModel::outputRole).toString();
        if (view->toPlainText() != output)
            view->setPlainText(output);
    } else if (auto* none = qobject_cast<QLabel*>(editor)) {
        none->setText(index.data(ExecutionHistoryModel::withoutOutputRole).toString());
    }
}

void ExecutionRecordDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const
{
}

void ExecutionRecordDelegate::updateEditorGeometry(QWidget* editor,
                                                   const QStyleOptionViewItem& option,
                                                   const QModelIndex&) const
{
    editor->setGeometry(option.rect.adjusted(0, headerHeight(), 0, 0));
}

bool ExecutionRecordDelegate::eventFilter(QObject*, QEvent*)
{
    return false;
}

} // namespace Tempolane
