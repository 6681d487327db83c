#pragma once

#include <QButtonGroup>
#include <QFrame>

namespace Tempolane {

// A row of mutually exclusive choices drawn as one rounded control; the chosen one stands out.
// Each segment is an auto-exclusive tool button named by its title, so screen readers read it
// as a radio button and tests find it.
class SegmentedPicker final : public QFrame
{
    Q_OBJECT

public:
    explicit SegmentedPicker(const QStringList& titles, QWidget* parent = nullptr);

    // Chooses without telling: only the user's choice is reported.
    void setCurrentIndex(int index);

Q_SIGNALS:
    // The user chose another segment, by mouse, keyboard or screen reader.
    void activated(int index);

private:
    QButtonGroup m_group;
};

} // namespace Tempolane
