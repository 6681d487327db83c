#pragma once

#include "RoundedPanel.h"

#include <QWidget>

namespace Tempolane {

// A faint rounded panel behind a borderless text field, so the field reads as a place to type
// on a translucent card; its edge turns indigo while the field has the focus.
class FieldWell final : public QWidget
{
    Q_OBJECT

public:
    FieldWell(QWidget* field, QMargins padding, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_field;
    RoundedPanel m_panel;
};

} // namespace Tempolane
