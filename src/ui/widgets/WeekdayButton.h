#pragma once

#include <QAbstractButton>

namespace Tempolane {

// A day of the week: its short label over a small bar, both indigo while the day is chosen.
// Screen readers name it by the full day name and read whether it is chosen.
class WeekdayButton final : public QAbstractButton
{
    Q_OBJECT

public:
    WeekdayButton(const QString& shortLabel, const QString& fullName, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The owner decides what a press does to the set of days.
    void nextCheckState() override {}

private:
    QFont labelFont() const;
};

} // namespace Tempolane
