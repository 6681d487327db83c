#pragma once

#include "CronStore.h"
#include "Symbol.h"

#include <QMargins>
#include <QRect>
#include <QString>
#include <optional>

// What the main window shows and allows, decided from the store.
namespace Tempolane::WindowPresentation {

struct EmptyState
{
    Symbol symbol;
    QString title;
    QString description;
    bool offersCreateButton = false;
};

// The panel instead of the job list, or nothing while the list shows: before the first load
// the list shows, empty.
std::optional<EmptyState> jobListEmptyState(const CronStore& store);
// The detail column when no job is selected.
EmptyState noSelectionPlaceholder();

// "NAME – Tempolane" while a job is selected, named as its editor names it; else "Tempolane".
QString windowTitle(const CronStore& store);
// The same for the title the editor gives the job it shows: the draft's name as it is typed.
QString windowTitle(const std::optional<QString>& jobTitle);

bool canReload(const CronStore& store);
bool canDuplicate(const CronStore& store);
bool showsMonitoringSuggestion(const CronStore& store);
bool canEnableMonitoring(const CronStore& store);

struct SyncStatus
{
    Symbol symbol;
    Tint tint;
    bool rotates = false;
    QString title;
    // "Aktualisiert vor 5 Minuten"; empty while loading or before the first load.
    QString detail;
};

SyncStatus syncStatus(bool isLoading, const QDateTime& lastLoadedAt, const QDateTime& now);

struct DeletionQuestion
{
    QString title;
    QString message;
    QString confirmLabel;
};

// Names the job between „ and “ by its shown name.
DeletionQuestion deletionQuestion(const CronJob& job);
// Asked before the new-job dialog closes over what the user typed into it.
DeletionQuestion newJobDiscardQuestion();

struct UnsavedChangesQuestion
{
    QString title;
    QString saveLabel;
    QString discardLabel;
    QString cancelLabel;
};

// Asked before the editor's unsaved changes to `job` would be left behind.
UnsavedChangesQuestion unsavedChangesQuestion(const CronJob& job);

struct WindowPlace
{
    // The window's own area, without its frame.
    QRect geometry;
    QSize minimum;

    friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

// Where a window that wants `wanted` (its own area) goes with `frame` (title bar and borders)
// around it on a screen whose free area is `available`: its frame no larger than that area and
// moved into it, and its minimum size shrunk where even that would not fit.
WindowPlace fittedPlace(const QRect& wanted, const QMargins& frame, const QRect& available,
                        const QSize& minimum);

} // namespace Tempolane::WindowPresentation
