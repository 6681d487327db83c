#pragma once

#include "ExecutionPanel.h"

#include <QWidget>

class QGridLayout;

namespace Tempolane {

class ClampedLabel;
class SymbolView;
class TextLabel;

// A job's execution status: the state's symbol beside its title and one detail line, and the
// facts of the last and next run below.
class ExecutionStatusView final : public QWidget
{
    Q_OBJECT

public:
    explicit ExecutionStatusView(QWidget* parent = nullptr);

    void present(const ExecutionPanel::StatusBlock& block);

private:
    SymbolView* m_symbol;
    TextLabel* m_title;
    ClampedLabel* m_detail;
    QGridLayout* m_facts;
    QList<TextLabel*> m_factLabels;
};

} // namespace Tempolane
