#include "MonitoringSuggestion.h"

#include "ActionButton.h"
#include "CronStore.h"
#include "SymbolView.h"
#include "TextLabel.h"
#include "WindowPresentation.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int titleSpacing = 3;

} // namespace

MonitoringSuggestion::MonitoringSuggestion(CronStore& store, QWidget* parent)
    : QWidget(parent), m_store(store),
      m_enable(new ActionButton(tr("Aktivieren"), std::nullopt, ActionButton::Style::prominent,
                                Tint::indigo, this))
{
    setObjectName(QStringLiteral("monitoringSuggestion"));
    auto* symbol = new SymbolView(this);
    symbol->setSymbol(Symbol::checkCircleBadgeQuestion,
                      {Tint::indigo, SymbolRendering::hierarchical});
    symbol->setSide(symbolSide(TextStyle::title3));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(titleSpacing);
    auto* title = new TextLabel(tr("Ausführungsstatus aktivieren?"), TextStyle::headline,
                                Tint::primary, this);
    // A large font or a narrow list would cut the question off.
    title->setWordWrap(true);
    texts->addWidget(title);
    auto* explanation =
        new TextLabel(tr("Tempolane kann Erfolge und Fehler erkennen und Cron-Mails vermeiden."),
                      TextStyle::caption, Tint::secondary, this);
    explanation->setWordWrap(true);
    texts->addWidget(explanation);

    auto* header = new QHBoxLayout;
    header->setSpacing(spacing);
    header->addWidget(symbol, 0, Qt::AlignTop);
    header->addLayout(texts, 1);

    auto* later = new ActionButton(tr("Nicht jetzt"), std::nullopt, ActionButton::Style::plain,
                                   Tint::secondary, this);
    later->setObjectName(QStringLiteral("dismissSuggestionButton"));
    m_enable->setObjectName(QStringLiteral("enableMonitoringButton"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(spacing);
    buttons->addWidget(later);
    buttons->addWidget(m_enable);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(spacing);
    layout->addLayout(header);
    layout->addLayout(buttons);

    connect(later, &QPushButton::clicked, this, [this] { m_store.dismissMonitoringSuggestion(); });
    connect(m_enable, &QPushButton::clicked, this,
            [this] { m_store.enableMonitoringForAllJobs(); });
    for (const auto signal :
         {&CronStore::hasLoadedChanged, &CronStore::documentChanged,
          &CronStore::hasDismissedMonitoringSuggestionChanged, &CronStore::isSavingChanged})
        connect(&m_store, signal, this, &MonitoringSuggestion::refresh);
    refresh();
}

void MonitoringSuggestion::refresh()
{
    setVisible(WindowPresentation::showsMonitoringSuggestion(m_store));
    m_enable->setEnabled(WindowPresentation::canEnableMonitoring(m_store));
}

void MonitoringSuggestion::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::role(Role::barFill, palette()));
    painter.fillRect(QRect(0, height() - 1, width(), 1), Palette::role(Role::barEdge, palette()));
}

} // namespace Tempolane
