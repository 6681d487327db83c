// The main window on the sample data: a job selected, the new-job dialog open, an empty
// crontab, and the backups dialog after a few changes; the window and the new-job dialog at
// their smallest sizes, and with the desktop's font at 150 %; the window as it opens on a
// 1280 × 800 screen and on a 1366 × 768 one at 150 %, frame included; right to left; and on a
// crontab the checks find wrong, with the row marks, the banner and the "Hinweise" card.
#include "CronBackupStore.h"
#include "CronStore.h"
#include "CrontabChecking.h"
#include "DataLocations.h"
#include "DemoCronClient.h"
#include "FakeMachine.h"
#include "MainWindow.h"
#include "NullExecutionManager.h"
#include "Scene.h"

#include <QApplication>
#include <QCoro/QCoroTask>
#include <QDialog>
#include <QPainter>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace Tempolane::Screenshots {

namespace {

const QSize windowSize{1280, 800};
constexpr qreal largeFont = 1.5;

// A machine where every program and script of the sample data is there: the pictures show the
// same on every computer.
CheckMachine sampleMachine()
{
    return Testing::fakeMachine({QStringLiteral("x:/usr/local/bin/php"),
                                 QStringLiteral("x:/bin/zsh"),
                                 QStringLiteral("x:/home/demo/Scripts/daily-report.sh"),
                                 QStringLiteral("x:/home/demo/Scripts/archive.sh"),
                                 QStringLiteral("x:/home/demo/Scripts/start-services.sh"),
                                 QStringLiteral("x:/home/ann/Scripts/weekend.sh"),
                                 QStringLiteral("r:/home/ann/Scripts/daily-report.sh")});
}

// Jobs the checks find wrong: a program cron does not find, a script without its execute bit,
// a notification without the desktop session, and a line that never runs.
const QString problemCrontab =
    QStringLiteral("MAILTO=\"\"\n"
                   "# Tempolane name: Laravel Scheduler\n"
                   "*/5 * * * * php /home/ann/Sites/example/artisan schedule:run\n"
                   "30 8 * * 1-5 /home/ann/Scripts/daily-report.sh\n"
                   "0 9 * * sat-sun /home/ann/Scripts/weekend.sh\n"
                   "0 12 * * 1-5 notify-send \"Mittagspause\"\n");

// The window owns its store, so the scene's one widget holds everything.
std::unique_ptr<QWidget> loadedWindow(const QString& crontab)
{
    static QTemporaryDir settings;
    const DataLocations locations = DataLocations::under(settings.path());
    auto* store =
        new CronStore(std::make_unique<DemoCronClient>(crontab),
                      std::make_unique<CronBackupStore>(locations.backups),
                      std::make_shared<NullExecutionManager>(), locations.runner,
                      std::make_unique<QSettings>(settings.filePath(QStringLiteral("settings.ini")),
                                                  QSettings::IniFormat));
    auto window = std::make_unique<MainWindow>(*store);
    window->checking().setMachineSource(sampleMachine);
    QCoro::waitFor(store->load());
    store->setParent(window.get());
    return window;
}

// Waits until the selected job's editor stands beside the list, then takes the picture.
QImage withEditor(QWidget& window)
{
    const bool shown = QTest::qWaitFor([&] {
        const QWidget* editor = window.findChild<QWidget*>(QStringLiteral("jobEditor"));
        return editor && editor->isVisible();
    });
    if (!shown)
        qWarning("main window: the editor did not appear");
    QTest::qWait(50);
    return window.grab().toImage();
}

// Opens the window's dialog through a command and waits until it shows.
QDialog* openedDialog(QWidget& window, QAction* command, const char* name)
{
    command->trigger();
    QDialog* dialog = nullptr;
    if (!QTest::qWaitFor([&] {
            dialog = window.findChild<QDialog*>(QString::fromLatin1(name));
            return dialog && dialog->isVisible();
        }))
        qWarning("main window: %s did not open", name);
    QTest::qWait(50);
    return dialog;
}

// The window dimmed, with its dialog on top in the middle, as a window-modal dialog sits.
QImage composed(QWidget& window, QDialog* dialog)
{
    QImage picture = withEditor(window);
    if (!dialog)
        return picture;
    const QImage sheet = dialog->grab().toImage();
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), QColor(0, 0, 0, 70));
    const QPoint topLeft((picture.width() - sheet.width()) / 2,
                         (picture.height() - sheet.height()) / 2);
    painter.drawImage(topLeft, sheet);
    return picture;
}

// The checks done: the rows marked, the banner above the list, the selected job's "Hinweise".
QImage withFindings(QWidget& window)
{
    auto& mainWindow = static_cast<MainWindow&>(window);
    if (!QTest::qWaitFor([&] { return !mainWindow.checking().findings().isEmpty(); }))
        qWarning("main window: the checks found nothing");
    if (!QTest::qWaitFor([&] {
            const QWidget* card = window.findChild<QWidget*>(QStringLiteral("hintsCard"));
            return card && card->isVisible();
        }))
        qWarning("main window: the hints card did not appear");
    auto* card = window.findChild<QWidget*>(QStringLiteral("hintsCard"));
    if (auto* page =
            card
                ? window.findChild<QWidget*>(QStringLiteral("jobEditor"))->findChild<QScrollArea*>()
                : nullptr)
        page->ensureWidgetVisible(card, 0, 0);
    return withEditor(window);
}

QImage withNewJobDialog(QWidget& window)
{
    auto& mainWindow = static_cast<MainWindow&>(window);
    return composed(window, openedDialog(window, mainWindow.commands().newJob, "newJobDialog"));
}

// The new-job dialog alone, at the smallest size it allows.
QImage smallestNewJobDialog(QWidget& window)
{
    auto& mainWindow = static_cast<MainWindow&>(window);
    QDialog* dialog = openedDialog(window, mainWindow.commands().newJob, "newJobDialog");
    if (!dialog)
        return window.grab().toImage();
    dialog->resize(dialog->minimumSize());
    QTest::qWait(50);
    return dialog->grab().toImage();
}

// The sample data after a pause, a rename and a deletion, with a backup before each.
std::unique_ptr<QWidget> changedWindow()
{
    auto directory = std::make_shared<QTemporaryDir>();
    const DataLocations locations = DataLocations::under(directory->path());
    auto taken = QDateTime(QDate(2026, 3, 2), QTime(8, 12, 5), Qt::UTC);
    auto* store = new CronStore(
        std::make_unique<DemoCronClient>(),
        std::make_unique<CronBackupStore>(locations.backups, 20,
                                          [taken]() mutable { return taken = taken.addSecs(754); }),
        std::make_shared<NullExecutionManager>(), locations.runner,
        std::make_unique<QSettings>(directory->filePath(QStringLiteral("settings.ini")),
                                    QSettings::IniFormat));
    QCoro::waitFor(store->load());
    QCoro::waitFor(store->setEnabled(false, store->document().jobs().at(1)));
    CronJob renamed = store->document().jobs().at(0);
    renamed.name = QStringLiteral("Laravel Scheduler");
    QCoro::waitFor(store->saveJob(renamed, false));
    QCoro::waitFor(store->deleteJob(store->document().jobs().at(2)));
    auto window = std::make_unique<MainWindow>(*store);
    window->checking().setMachineSource(sampleMachine);
    store->setParent(window.get());
    QObject::connect(window.get(), &QObject::destroyed, [directory] {});
    return window;
}

QImage onItsScreen(QWidget& window)
{
    return framedOnItsScreen(window, withEditor(window));
}

// The backups dialog with the oldest backup selected: every change shows in its diff.
QImage withBackupsDialog(QWidget& window)
{
    auto& mainWindow = static_cast<MainWindow&>(window);
    QDialog* dialog = openedDialog(window, mainWindow.commands().backups, "backupsDialog");
    if (auto* list =
            dialog ? dialog->findChild<QTreeView*>(QStringLiteral("backupList")) : nullptr) {
        if (!QTest::qWaitFor([&] { return list->model()->rowCount() == 3; }))
            qWarning("backups dialog: the backups were not listed");
        list->setCurrentIndex(list->model()->index(2, 0));
        QTest::qWait(50);
    }
    return composed(window, dialog);
}

} // namespace

// The window with its frame, where it opened on its screen: the screen's free area in grey
// around it, the title bar and borders in a darker grey.
QImage framedOnItsScreen(const QWidget& window, const QImage& shown)
{
    const QRect available = window.screen()->availableGeometry();
    const qreal ratio = shown.devicePixelRatio();
    QImage screen((QSizeF(available.size()) * ratio).toSize(), QImage::Format_RGB32);
    screen.setDevicePixelRatio(ratio);
    screen.fill(QColor(0x80, 0x80, 0x84));
    QPainter painter(&screen);
    painter.fillRect(window.frameGeometry().translated(-available.topLeft()),
                     QColor(0x3A, 0x3A, 0x3E));
    painter.drawImage(window.geometry().topLeft() - available.topLeft(), shown);
    return screen;
}

QList<Scene> mainWindowScenes()
{
    const auto sample = [] { return loadedWindow(DemoCronClient::sampleText()); };
    return {
        {QStringLiteral("main-window"), windowSize,
         [] { return loadedWindow(DemoCronClient::sampleText()); }, withEditor},
        {QStringLiteral("main-window-new-job"), windowSize,
         [] { return loadedWindow(DemoCronClient::sampleText()); }, withNewJobDialog},
        {QStringLiteral("main-window-backups"), windowSize, changedWindow, withBackupsDialog},
        {QStringLiteral("main-window-smallest"), MainWindow::minimumWindowSize,
         [] { return loadedWindow(DemoCronClient::sampleText()); }, withEditor},
        {QStringLiteral("main-window-smallest-large-font"), MainWindow::minimumWindowSize,
         [] { return loadedWindow(DemoCronClient::sampleText()); }, withEditor, largeFont},
        {QStringLiteral("main-window-large-font"), windowSize,
         [] { return loadedWindow(DemoCronClient::sampleText()); }, withEditor, largeFont},
        {QStringLiteral("new-job-smallest"), windowSize,
         [] { return loadedWindow(DemoCronClient::sampleText()); }, smallestNewJobDialog},
        {QStringLiteral("new-job-smallest-large-font"), windowSize,
         [] { return loadedWindow(DemoCronClient::sampleText()); }, smallestNewJobDialog,
         largeFont},
        {QStringLiteral("main-window-findings"), windowSize,
         [] { return loadedWindow(problemCrontab); }, withFindings},
        {QStringLiteral("main-window-empty"),
         windowSize,
         [] { return loadedWindow(QString()); },
         {}},
        {QStringLiteral("main-window-on-1280x800"),
         {},
         sample,
         onItsScreen,
         1.0,
         Qt::LeftToRight,
         QStringLiteral("1280x800")},
        {QStringLiteral("main-window-on-1366x768-at-150"),
         {},
         sample,
         onItsScreen,
         1.0,
         Qt::LeftToRight,
         QStringLiteral("1366x768 at 150 %")},
        {QStringLiteral("main-window-right-to-left"), windowSize, sample, withEditor, 1.0,
         Qt::RightToLeft},
        {QStringLiteral("new-job-right-to-left"), windowSize, sample, withNewJobDialog, 1.0,
         Qt::RightToLeft},
    };
}

} // namespace Tempolane::Screenshots
