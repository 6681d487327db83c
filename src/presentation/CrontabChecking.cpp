#include "CrontabChecking.h"

#include "CrontabChecker.h"
#include "DataLocations.h"
#include "LocalMachine.h"
#include "TextContext.h"

#include <QFile>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <qcoro/qcorofuture.h>

TEMPOLANE_TEXT_CONTEXT(CrontabChecking)

namespace Tempolane {

namespace {

// The crontab with the draft in its job's place, or after the last line.
QString textWithDraft(const CronDocument& document, const CronJob& draft, const QString& runner)
{
    CronDocument withDraft = document.replacingJob(draft);
    if (withDraft == document) {
        withDraft.nodes.append(CronDocument::Node::job(draft));
        withDraft.hasTrailingNewline = true;
    }
    return withDraft.serializedText(runner);
}

} // namespace

CrontabChecking::CrontabChecking(CronStore& store, QObject* parent)
    : QObject(parent), m_store(store), m_machineSource([] {
          return LocalMachine::current(DataLocations::forCurrentUser().executions);
      })
{
    m_pool.setMaxThreadCount(1);
    // Every load and save, also of the same text: files and programs may have changed.
    for (const auto signal : {&CronStore::loadedContentsChanged, &CronStore::lastLoadedAtChanged})
        connect(&m_store, signal, this, &CrontabChecking::recheck);
}

CrontabChecking::~CrontabChecking()
{
    m_pool.waitForDone();
}

void CrontabChecking::setMachineSource(MachineSource source)
{
    m_machineSource = std::move(source);
    m_machine.reset();
    recheck();
}

void CrontabChecking::recheck()
{
    if (m_isCheckRunning) {
        m_isCheckWanted = true;
        return;
    }
    runCheck();
}

QCoro::Task<> CrontabChecking::runCheck()
{
    m_isCheckRunning = true;
    do {
        m_isCheckWanted = false;
        QString text = m_store.loadedContents();
        auto checked = QtConcurrent::run(&m_pool, [source = m_machineSource, text,
                                                   runner = m_store.runnerPath()] {
            auto machine = std::make_shared<const CheckMachine>(source());
            auto findings = CrontabChecker(*machine).check(text, CrontabSource::installed, runner);
            return std::make_pair(machine, findings);
        });
        const QPointer<CrontabChecking> self(this);
        auto [machine, findings] = co_await checked;
        // The window closed while the check ran.
        if (!self)
            co_return;
        m_machine = std::move(machine);
        if (!m_isCheckWanted)
            adopt(std::move(text), std::move(findings));
    } while (m_isCheckWanted);
    m_isCheckRunning = false;
    if (m_wantedDraft && !m_isDraftCheckRunning)
        runDraftCheck();
}

void CrontabChecking::checkDraft(const CronJob& draft)
{
    m_wantedDraft = draft;
    // Drafts are checked on the machine of the last check of the crontab.
    if (!m_isDraftCheckRunning && m_machine)
        runDraftCheck();
}

QCoro::Task<> CrontabChecking::runDraftCheck()
{
    m_isDraftCheckRunning = true;
    while (m_wantedDraft) {
        const CronJob draft = *std::exchange(m_wantedDraft, std::nullopt);
        // The crontab with the draft is written out on the checks' thread too: nothing of a
        // check, however large the crontab, is left to the keystroke.
        auto checked =
            QtConcurrent::run(&m_pool, [machine = m_machine, document = m_store.document(), draft,
                                        runner = m_store.runnerPath()] {
                CheckMachine now = *machine;
                now.now = QDateTime::currentDateTimeUtc();
                const QString text = textWithDraft(document, draft, runner);
                QList<Finding> findings;
                for (Finding& finding :
                     CrontabChecker(now).check(text, CrontabSource::installed, runner)) {
                    if (finding.jobId == draft.id)
                        findings.append(std::move(finding));
                }
                return findings;
            });
        const QPointer<CrontabChecking> self(this);
        QList<Finding> findings = co_await checked;
        if (!self)
            co_return;
        if (m_wantedDraft)
            continue;
        m_draftJobId = draft.id;
        m_draftFindings = std::move(findings);
        Q_EMIT draftFindingsChanged();
    }
    m_isDraftCheckRunning = false;
}

void CrontabChecking::adopt(QString text, QList<Finding> findings)
{
    JobProblemMap problems;
    for (const Finding& finding : findings) {
        if (finding.jobId && finding.severity != Severity::hint &&
            !problems.contains(*finding.jobId))
            problems.insert(*finding.jobId, finding.message);
    }
    m_checkedText = std::move(text);
    m_checkedLines = m_checkedText.split(u'\n');
    m_findings = std::move(findings);
    m_store.setJobProblems(std::move(problems));
    Q_EMIT findingsChanged();
}

QList<Finding> CrontabChecking::findingsOf(const QUuid& jobId) const
{
    QList<Finding> found;
    for (const Finding& finding : m_findings) {
        if (finding.jobId == jobId)
            found.append(finding);
    }
    return found;
}

QList<Finding> CrontabChecking::lineFindings() const
{
    QList<Finding> found;
    for (const Finding& finding : m_findings) {
        if (!finding.jobId && finding.severity != Severity::hint)
            found.append(finding);
    }
    return found;
}

QCoro::Task<bool> CrontabChecking::apply(Fix fix)
{
    if (!fix.executable.isEmpty()) {
        auto made = QtConcurrent::run([path = fix.executable] {
            QFile file(path);
            return file.setPermissions(file.permissions() | QFile::ExeOwner) ? QString()
                                                                             : file.errorString();
        });
        const QPointer<CrontabChecking> self(this);
        const QString failure = co_await made;
        if (!self)
            co_return false;
        if (!failure.isEmpty())
            m_store.setPresentedError(PresentedError::make(
                tr("Die Datei konnte nicht ausführbar gemacht werden"),
                {tr("Die Zugriffsrechte von „%1“ konnten nicht geändert werden.")
                     .arg(fix.executable),
                 failure}));
        recheck();
        co_return failure.isEmpty();
    }
    // The fix was made for the text checked; a crontab that changed since is checked anew.
    if (m_store.loadedContents() != m_checkedText) {
        recheck();
        co_return false;
    }
    auto text = appliedEdits(m_checkedText, fix.edits);
    if (!text)
        co_return false;
    co_return co_await m_store.commitFix(std::move(*text), fix.changeName);
}

} // namespace Tempolane
