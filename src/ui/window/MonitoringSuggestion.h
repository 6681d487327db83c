#pragma once

#include <QWidget>

namespace Tempolane {

class ActionButton;
class CronStore;

// The card under the job list that offers to switch on execution monitoring for every job.
// It shows itself exactly while the store says the suggestion applies.
class MonitoringSuggestion final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int padding = 14;
    static constexpr int spacing = 10;

    explicit MonitoringSuggestion(CronStore& store, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    CronStore& m_store;
    ActionButton* m_enable;
};

} // namespace Tempolane
