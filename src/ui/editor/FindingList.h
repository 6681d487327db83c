#pragma once

#include "ShownFinding.h"

#include <QWidget>

class QVBoxLayout;

namespace Tempolane {

// The findings of a job or of lines of the crontab, one below the other: the message with its
// symbol, the line where it names one, and a button for each fix and for "Nicht mehr
// anzeigen". A handful at most, each a small form of its own rather than a row of a list, so
// the buttons are real buttons for the keyboard and the screen reader.
class FindingList final : public QWidget
{
    Q_OBJECT

public:
    explicit FindingList(QWidget* parent = nullptr);

    // `canFix`: the buttons work now (nothing unsaved, nothing being saved).
    void setFindings(const QList<ShownFinding>& findings, bool canFix);
    bool isEmpty() const { return m_findings.isEmpty(); }

Q_SIGNALS:
    void fixChosen(const Tempolane::Fix& fix);

private:
    QWidget* row(const ShownFinding& finding, bool canFix);

    QVBoxLayout* m_layout;
    QList<ShownFinding> m_findings;
    bool m_canFix = false;
};

} // namespace Tempolane
