#include "NewJobDialog.h"

#include "CronStore.h"
#include "Dialogs.h"
#include "JobEditorView.h"
#include "ScreenFit.h"
#include "WindowPresentation.h"

#include <QMessageBox>
#include <QScreen>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

JobEditorView::Inputs newJobInputs(const CronJob& job, bool isSaving, const QString& runnerPath)
{
    return {
        job,        true, isSaving, JobExecutionSummary::notMonitored(), {}, std::nullopt, false,
        runnerPath, {},   {}};
}

} // namespace

NewJobDialog::NewJobDialog(CronStore& store, const CronJob& job, Clock now, QWidget* parent)
    : QDialog(parent), m_store(store), m_job(job)
{
    setObjectName(QStringLiteral("newJobDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setMinimumSize(minimumDialogSize);
    // Kept on its screen with its frame: on a scaled desktop or a small screen the ideal size
    // would put the buttons at its bottom out of reach.
    resize(idealDialogSize);
    new ScreenFit(this, minimumDialogSize);

    JobEditorView::Actions actions;
    actions.save = [this](CronJob edited) { save(std::move(edited)); };
    actions.cancel = [this] { reject(); };
    m_editor = new JobEditorView(newJobInputs(m_job, m_store.isSaving(), m_store.runnerPath()),
                                 std::move(actions), std::move(now), this);
    if (m_store.jobForCreationHoldsEdits())
        m_editor->noteRemovedOutside();
    setWindowTitle(m_editor->title());
    connect(m_editor, &JobEditorView::titleChanged, this, &QWidget::setWindowTitle);
    connect(&m_store, &CronStore::isSavingChanged, this, &NewJobDialog::showSaving);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
}

void NewJobDialog::save(CronJob job)
{
    QCoro::connect(m_store.saveJob(std::move(job), true), this, [this](bool saved) {
        if (saved)
            accept();
    });
}

void NewJobDialog::saveAgain()
{
    if (auto job = m_editor->takeJobToSave())
        save(std::move(*job));
}

void NewJobDialog::reject()
{
    if (!m_editor->hasUnsavedChanges() && !m_editor->holdsEditsOfRemovedJob()) {
        QDialog::reject();
        return;
    }
    if (m_discardQuestion)
        return;
    const auto question = WindowPresentation::newJobDiscardQuestion();
    m_discardQuestion =
        askForConfirmation(this, {question.title, question.message, question.confirmLabel, true},
                           [this] { QDialog::reject(); });
}

void NewJobDialog::showSaving()
{
    m_editor->setInputs(newJobInputs(m_job, m_store.isSaving(), m_store.runnerPath()));
}

} // namespace Tempolane
