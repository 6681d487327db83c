#include "Sidebar.h"

#include "SidebarDelegate.h"
#include "SidebarModel.h"
#include "SymbolView.h"
#include "TextLabel.h"
#include "WindowPresentation.h"

#include <QHBoxLayout>
#include <QListView>
#include <QPainter>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int headerSymbolSide = 25;
constexpr int headerSpacing = 11;
constexpr int headerTopPadding = 8;
constexpr int margin = 16;
constexpr int syncVerticalPadding = 12;
constexpr int syncSpacing = 8;

QWidget* makeHeader(QWidget* parent)
{
    auto* header = new QWidget(parent);
    auto* symbol = new SymbolView(header);
    symbol->setSymbol(Symbol::clockBadgeCheck,
                      {Tint::cyan, SymbolRendering::hierarchical, Tint::indigo});
    symbol->setSide(headerSymbolSide);
    auto* names = new QVBoxLayout;
    names->setSpacing(0);
    names->addWidget(
        new TextLabel(QStringLiteral("Tempolane"), TextStyle::headline, Tint::primary, header));
    auto* subtitle =
        new TextLabel(Sidebar::tr("Lokale Zeitpläne"), TextStyle::caption, Tint::secondary, header);
    // The sidebar keeps its width at the smallest window; a larger font wraps its texts instead.
    subtitle->setWordWrap(true);
    names->addWidget(subtitle);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(margin + SidebarDelegate::inset - 8, headerTopPadding + margin / 2,
                               margin, margin / 2);
    layout->setSpacing(headerSpacing);
    layout->addWidget(symbol);
    layout->addLayout(names, 1);
    return header;
}

} // namespace

Sidebar::Sidebar(CronStore& store, Clock now, QWidget* parent)
    : QWidget(parent), m_store(store), m_clock(std::move(now)),
      m_model(new SidebarModel(store, this)), m_filters(new QListView(this)),
      m_syncSymbol(new SymbolView(this)),
      m_syncTitle(new TextLabel(TextStyle::caption, Tint::primary, this)),
      m_syncDetail(new TextLabel(TextStyle::caption2, Tint::tertiary, this))
{
    setObjectName(QStringLiteral("sidebar"));
    m_filters->setObjectName(QStringLiteral("filterList"));
    m_filters->setAccessibleName(tr("Filter"));
    m_filters->setModel(m_model);
    m_filters->setItemDelegate(new SidebarDelegate(m_filters));
    m_filters->setFrameShape(QFrame::NoFrame);
    m_filters->setMouseTracking(true);
    // Each row is as wide as the column: its name gives way, never its count.
    m_filters->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_filters->setSelectionMode(QAbstractItemView::SingleSelection);
    m_filters->viewport()->setAutoFillBackground(false);
    m_filters->setAutoFillBackground(false);

    m_syncSymbol->setSide(symbolSide(TextStyle::title3));
    m_syncTitle->setObjectName(QStringLiteral("syncTitle"));
    m_syncDetail->setObjectName(QStringLiteral("syncDetail"));
    m_syncTitle->setWordWrap(true);
    m_syncDetail->setWordWrap(true);
    auto* syncTexts = new QVBoxLayout;
    syncTexts->setSpacing(1);
    syncTexts->addWidget(m_syncTitle);
    syncTexts->addWidget(m_syncDetail);
    auto* sync = new QHBoxLayout;
    sync->setContentsMargins(margin, syncVerticalPadding, margin, syncVerticalPadding);
    sync->setSpacing(syncSpacing);
    sync->addWidget(m_syncSymbol);
    sync->addLayout(syncTexts, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeHeader(this));
    layout->addWidget(m_filters, 1);
    layout->addLayout(sync);

    connect(m_filters->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_store.setFilter(current.data(SidebarModel::FilterRole).value<JobFilter>());
            });
    connect(&m_store, &CronStore::filterChanged, this, &Sidebar::showFilter);
    for (const auto signal : {&CronStore::isLoadingChanged, &CronStore::lastLoadedAtChanged})
        connect(&m_store, signal, this, &Sidebar::refreshSyncStatus);
    showFilter();
    refreshSyncStatus();
}

void Sidebar::showFilter()
{
    m_filters->selectionModel()->setCurrentIndex(m_model->indexOf(m_store.filter()),
                                                 QItemSelectionModel::ClearAndSelect);
}

void Sidebar::refreshSyncStatus()
{
    const auto status =
        WindowPresentation::syncStatus(m_store.isLoading(), m_store.lastLoadedAt(), m_clock());
    m_syncSymbol->setSymbol(status.symbol, {status.tint, SymbolRendering::hierarchical});
    m_syncSymbol->setEffect(status.rotates ? SymbolView::Effect::rotation
                                           : SymbolView::Effect::none);
    m_syncSymbol->setAccessibleName(status.title);
    m_syncTitle->setText(status.title);
    m_syncDetail->setText(status.detail);
    m_syncDetail->setVisible(!status.detail.isEmpty());
}

void Sidebar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool dark = Palette::schemeOf(palette()) == ColorScheme::dark;
    QColor fill = palette().color(QPalette::Window);
    painter.fillRect(rect(), dark ? fill.lighter(112) : fill.darker(103));
}

} // namespace Tempolane
