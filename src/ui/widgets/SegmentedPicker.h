#pragma once

#include <QButtonGroup>
#include <QWidget>

namespace Tempolane {

// A row of mutually exclusive choices drawn as one rounded control; the chosen one stands out.
// Each segment is a button named by its title, so screen readers and tests find it.
class SegmentedPicker final : public QWidget
{
    Q_OBJECT

public:
    explicit SegmentedPicker(const QStringList& titles, QWidget* parent = nullptr);

    // Chooses without telling: only the user's choice is reported.
    void setCurrentIndex(int index);

Q_SIGNALS:
    void activated(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QButtonGroup m_group;
};

} // namespace Tempolane
