#pragma once

#include <QWidget>

namespace Tempolane {

class CronStore;
class CrontabChecking;
class FindingList;
class TextLabel;

// The bar above the job list for lines of the crontab that are no job in the list but that
// cron runs or never runs, and for what keeps the whole crontab from running: "2 Zeilen
// deiner Crontab laufen nie", with the lines, what is wrong and the fixes. Hidden without any.
class ProblemBanner final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int padding = 14;
    static constexpr int spacing = 10;
    // More would push the list out of sight; `tempolane-cli check` lists them all.
    static constexpr qsizetype shownFindings = 3;

    ProblemBanner(CronStore& store, CrontabChecking& checking, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    CronStore& m_store;
    CrontabChecking& m_checking;
    TextLabel* m_title;
    FindingList* m_findings;
    TextLabel* m_more;
};

} // namespace Tempolane
