#pragma once

#include "Clock.h"

#include <QWidget>

class QListView;

namespace Tempolane {

class CronStore;
class SidebarModel;
class SymbolView;
class TextLabel;

// The first column: the application's header, the filters with their counts (the selected
// one is the store's filter) and, pinned at the bottom, whether the crontab is being read and
// when it was last read.
class Sidebar final : public QWidget
{
    Q_OBJECT

public:
    Sidebar(CronStore& store, Clock now = systemClock(), QWidget* parent = nullptr);

    // Takes the time anew for "Aktualisiert vor 5 Minuten".
    void refreshSyncStatus();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showFilter();

    CronStore& m_store;
    Clock m_clock;
    SidebarModel* m_model;
    QListView* m_filters;
    SymbolView* m_syncSymbol;
    TextLabel* m_syncTitle;
    TextLabel* m_syncDetail;
};

} // namespace Tempolane
