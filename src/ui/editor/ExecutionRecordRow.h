#pragma once

#include "JobExecutionRecord.h"

#include <QWidget>

class QVBoxLayout;

namespace Tempolane {

class DisclosureButton;

// One run in the history: its state and start time, expanding to the run's output. The output
// view is made only when the row is first expanded, so a long history of large outputs costs
// nothing until the user opens one.
class ExecutionRecordRow final : public QWidget
{
    Q_OBJECT

public:
    explicit ExecutionRecordRow(JobExecutionRecord record, QWidget* parent = nullptr);

    const JobExecutionRecord& record() const { return m_record; }
    void setExpanded(bool isExpanded);

private:
    QWidget* makeContent() const;

    JobExecutionRecord m_record;
    DisclosureButton* m_header;
    QVBoxLayout* m_layout;
    QWidget* m_content = nullptr;
};

} // namespace Tempolane
