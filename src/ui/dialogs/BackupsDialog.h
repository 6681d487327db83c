#pragma once

#include "Clock.h"

#include <QDialog>

class QPlainTextEdit;
class QStackedWidget;
class QTreeView;

namespace Tempolane {

class ActionButton;
class BackupListModel;
class CronStore;
class TextLabel;

// "Sicherungen": the backups of replaced crontabs beside the diff of the selected one against
// the current crontab, and restoring it through the store after a question. Window-modal over
// the main window; it follows the store, so a restore shows up in the list at once.
class BackupsDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr QSize minimumDialogSize{760, 480};
    static constexpr QSize idealDialogSize{960, 620};

    BackupsDialog(CronStore& store, QWidget* parent, Clock now = systemClock());

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* listCard();
    QWidget* diffCard();
    void showState();
    void showDiff();
    void askToRestore();

    CronStore& m_store;
    BackupListModel* m_model;
    QTreeView* m_list = nullptr;
    QStackedWidget* m_diffArea = nullptr;
    QPlainTextEdit* m_diff = nullptr;
    TextLabel* m_notice = nullptr;
    ActionButton* m_restore = nullptr;
};

} // namespace Tempolane
