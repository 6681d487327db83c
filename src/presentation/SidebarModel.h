#pragma once

#include "CronStore.h"
#include "Symbol.h"

#include <QAbstractListModel>
#include <array>

namespace Tempolane {

// The sidebar's four filters, in the store's order, each with its symbol, colour and the
// number of jobs it shows. Only rows whose count changes are reported as changed.
class SidebarModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        FilterRole = Qt::UserRole,
        SymbolStyleRole,
        SymbolRole,
        CountRole,
        CountTextRole
    };

    explicit SidebarModel(CronStore& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    static Symbol symbolOf(JobFilter filter);
    static Tint tintOf(JobFilter filter);
    QModelIndex indexOf(JobFilter filter) const;

private:
    void recount();
    std::array<int, allJobFilters.size()> counts() const;

    CronStore& m_store;
    std::array<int, allJobFilters.size()> m_counts;
};

} // namespace Tempolane
