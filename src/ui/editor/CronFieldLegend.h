#pragma once

#include <QWidget>

namespace Tempolane {

// The five fields of a cron expression side by side, each with its range.
class CronFieldLegend final : public QWidget
{
    Q_OBJECT

public:
    explicit CronFieldLegend(QWidget* parent = nullptr);
};

} // namespace Tempolane
