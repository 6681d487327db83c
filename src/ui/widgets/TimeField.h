#pragma once

#include <QTimeEdit>

namespace Tempolane {

// A time edit where a click into the hour or the minute selects that part, so the digits typed
// next replace it. A plain QTimeEdit only places the cursor there, and a digit typed into a
// full part is refused without a sign.
class TimeField final : public QTimeEdit
{
    Q_OBJECT

public:
    explicit TimeField(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace Tempolane
