#include "DetailColumn.h"

#include "AmbientBackground.h"
#include "CronStore.h"
#include "EmptyStateView.h"
#include "WindowPresentation.h"

#include <QVBoxLayout>

namespace Tempolane {

DetailColumn::DetailColumn(CronStore& store, QWidget* parent)
    : QStackedWidget(parent), m_store(store), m_placeholder(new AmbientBackground(this))
{
    m_placeholder->setObjectName(QStringLiteral("detailPlaceholder"));
    auto* emptyState = new EmptyStateView(m_placeholder);
    emptyState->setState(WindowPresentation::noSelectionPlaceholder());
    auto* layout = new QVBoxLayout(m_placeholder);
    layout->addWidget(emptyState);
    addWidget(m_placeholder);

    for (const auto signal : {&CronStore::selectionChanged, &CronStore::documentChanged})
        connect(&m_store, signal, this, &DetailColumn::showSelectedJob);
    showSelectedJob();
}

void DetailColumn::showSelectedJob()
{
    setCurrentWidget(m_placeholder);
}

} // namespace Tempolane
