#pragma once

#include <QStackedWidget>

namespace Tempolane {

class CronStore;
class EmptyStateView;

// The third column: the selected job's editor, or a placeholder over the ambient background
// when no job is selected.
class DetailColumn final : public QStackedWidget
{
    Q_OBJECT

public:
    explicit DetailColumn(CronStore& store, QWidget* parent = nullptr);

private:
    void showSelectedJob();

    CronStore& m_store;
    QWidget* m_placeholder;
};

} // namespace Tempolane
