#include "BackupsDialog.h"

#include "ActionButton.h"
#include "AmbientBackground.h"
#include "BackupListModel.h"
#include "CronStore.h"
#include "Dialogs.h"
#include "EditorCard.h"
#include "Palette.h"
#include "ScreenFit.h"
#include "TextLabel.h"
#include "WindowKeys.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTreeView>

namespace Tempolane {

namespace {

constexpr int padding = 24;
constexpr int spacing = 16;
constexpr int listWidth = 380;
constexpr int rowPadding = 10;
constexpr int headingPadding = 4;

// Rows with room around their text, as in the window's other lists.
class SpaciousRows final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(rowPadding, rowPadding);
    }
};

// The columns' headings as secondary captions standing on the card, without the grey of
// buttons that a header of the style has.
class PlainHeader final : public QHeaderView
{
public:
    explicit PlainHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
    {
        setFont(styledFont(TextStyle::caption));
        viewport()->setAutoFillBackground(false);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override
    {
        const auto alignment =
            model()->headerData(section, orientation(), Qt::TextAlignmentRole).toInt();
        painter->setPen(Palette::color(Tint::secondary, palette()));
        painter->drawText(rect.adjusted(headingPadding, 0, -headingPadding, 0), int(alignment),
                          model()->headerData(section, orientation()).toString());
    }
};

} // namespace

BackupsDialog::BackupsDialog(CronStore& store, QWidget* parent, Clock now)
    : QDialog(parent), m_store(store),
      m_model(new BackupListModel(store, std::move(now), QTimeZone::systemTimeZone(), this))
{
    setObjectName(QStringLiteral("backupsDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Sicherungen"));
    setMinimumSize(minimumDialogSize);
    resize(idealDialogSize);
    new ScreenFit(this, minimumDialogSize);
    closeWithKeys(this);

    auto* content = new QWidget;
    auto* stack = new QStackedLayout(this);
    stack->setStackingMode(QStackedLayout::StackAll);
    stack->addWidget(content);
    stack->addWidget(new AmbientBackground);

    auto* close =
        new ActionButton(tr("Schließen"), std::nullopt, ActionButton::Style::plain, Tint::primary);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAccessibleName(close->text());
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_restore = new ActionButton(tr("Wiederherstellen"), Symbol::undo,
                                 ActionButton::Style::prominent, Tint::indigo);
    m_restore->setObjectName(QStringLiteral("restoreButton"));
    m_restore->setAccessibleName(m_restore->text());
    connect(m_restore, &QPushButton::clicked, this, &BackupsDialog::askToRestore);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(spacing);
    columns->addWidget(listCard());
    columns->addWidget(diffCard(), 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addWidget(m_restore);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(spacing);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    connect(m_model, &BackupListModel::stateChanged, this, &BackupsDialog::showState);
    connect(&m_store, &CronStore::isSavingChanged, this,
            [this] { m_restore->setBusy(m_store.isSaving()); });
    m_model->reload();
}

QWidget* BackupsDialog::listCard()
{
    auto* card = new EditorCard(tr("Sicherungen"),
                                tr("Vor jeder Änderung sichert Tempolane die bisherige crontab; "
                                   "die 20 neuesten bleiben."),
                                Symbol::history, Tint::indigo);
    card->setFixedWidth(listWidth);
    m_list = new QTreeView;
    m_list->setObjectName(QStringLiteral("backupList"));
    m_list->setAccessibleName(tr("Sicherungen"));
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setItemDelegate(new SpaciousRows(m_list));
    m_list->setHeader(new PlainHeader(m_list));
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(BackupListModel::takenAtColumn, QHeaderView::Stretch);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { m_model->select(current.row()); });
    card->contentLayout()->addWidget(m_list);
    return card;
}

QWidget* BackupsDialog::diffCard()
{
    auto* card = new EditorCard(tr("Beim Wiederherstellen"),
                                tr("Grüne Zeilen kämen in die crontab, rote fielen weg."),
                                Symbol::undo, Tint::cyan);
    m_diff = new QPlainTextEdit;
    m_diff->setObjectName(QStringLiteral("backupDiff"));
    m_diff->setAccessibleName(tr("Unterschiede zur aktuellen crontab"));
    m_diff->setReadOnly(true);
    m_diff->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_diff->setFont(styledFont(TextStyle::caption, true));
    keepLeftToRight(m_diff);
    m_diff->setFrameShape(QFrame::NoFrame);
    m_diff->viewport()->setAutoFillBackground(false);
    m_notice = new TextLabel(TextStyle::body, Tint::secondary);
    m_notice->setObjectName(QStringLiteral("backupNotice"));
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignCenter);
    m_diffArea = new QStackedWidget;
    m_diffArea->addWidget(m_diff);
    m_diffArea->addWidget(m_notice);
    card->contentLayout()->addWidget(m_diffArea);
    return card;
}

void BackupsDialog::showState()
{
    const int row = m_model->selectedRow();
    if (m_list->currentIndex().row() != row) {
        const QSignalBlocker blocker(m_list->selectionModel());
        m_list->setCurrentIndex(m_model->index(row, 0));
    }
    const QString notice = m_model->notice();
    m_notice->setText(notice);
    m_diffArea->setCurrentWidget(notice.isEmpty() ? static_cast<QWidget*>(m_diff) : m_notice);
    showDiff();
    m_restore->setEnabled(m_model->canRestore());
}

void BackupsDialog::showDiff()
{
    const QPalette colors = palette();
    m_diff->clear();
    QTextCursor cursor(m_diff->document());
    bool isFirst = true;
    for (const ShownDiffLine& line : m_model->selectedDiff()) {
        QTextBlockFormat block;
        if (line.kind == ShownDiffLine::Kind::added || line.kind == ShownDiffLine::Kind::removed) {
            block.setBackground(Palette::wash(line.tint, colors));
        }
        QTextCharFormat characters;
        characters.setForeground(Palette::color(line.tint, colors));
        if (isFirst)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        cursor.insertText(line.text, characters);
        isFirst = false;
    }
    m_diff->moveCursor(QTextCursor::Start);
}

void BackupsDialog::askToRestore()
{
    askForConfirmation(this,
                       {tr("Crontab durch diese Sicherung ersetzen?"),
                        tr("Die aktuelle Crontab wird vorher gesichert."), tr("Wiederherstellen"),
                        false},
                       [this] { m_model->restoreSelected(); });
}

void BackupsDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        showDiff();
}

} // namespace Tempolane
