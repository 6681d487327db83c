#pragma once

#include "Clock.h"
#include "CronJob.h"

#include <QDialog>
#include <QPointer>

class QMessageBox;

namespace Tempolane {

class CronStore;
class JobEditorView;

// The editor for a job being created, window-modal over the main window. Saving closes it
// only when the store wrote the job; a failure leaves it open with everything typed.
class NewJobDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr QSize minimumDialogSize{680, 650};
    static constexpr QSize idealDialogSize{760, 760};

    NewJobDialog(CronStore& store, const CronJob& job, Clock now, QWidget* parent);

    // Saves the job as typed once more, after the crontab was read again.
    void saveAgain();
    // What was typed is not given up by a stray key or click: with input, asks first.
    void reject() override;

private:
    void save(CronJob job);
    void showSaving();

    CronStore& m_store;
    CronJob m_job;
    JobEditorView* m_editor;
    QPointer<QMessageBox> m_discardQuestion;
};

} // namespace Tempolane
