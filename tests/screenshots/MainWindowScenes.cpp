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

// The window over a store in a folder of its own; the window owns both, so the scene's one
// widget holds everything. `prepare` changes the loaded store before the window is made.
std::unique_ptr<QWidget> windowOver(std::unique_ptr<CronManaging> client,
                                    CronBackupStore::Clock backupClock = {},
                                    const std::function<void(CronStore&)>& prepare = {})
{
    auto directory = std::make_shared<QTemporaryDir>();
    const DataLocations locations = DataLocations::under(directory->path());
    auto* store = new CronStore(
        std::move(client),
        backupClock ? std::make_unique<CronBackupStore>(locations.backups, 20, backupClock)
                    : std::make_unique<CronBackupStore>(locations.backups),
        std::make_shared<NullExecutionManager>(), locations.runner,
        std::make_unique<QSettings>(directory->filePath(QStringLiteral("settings.ini")),
                                    QSettings::IniFormat));
    QCoro::waitFor(store->load());
    if (prepare)
        prepare(*store);
    auto window = std::make_unique<MainWindow>(*store);
    window->checking().setMachineSource(sampleMachine);
    store->setParent(window.get());
    QObject::connect(window.get(), &QObject::destroyed, [directory] {});
    return window;
}

std::unique_ptr<QWidget> loadedWindow(const QString& crontab)
{
    return windowOver(std::make_unique<DemoCronClient>(crontab));
}

// Waits until the selected job's editor stands beside the list, then takes the picture.
QImage withEditor(QWidget& window)
{
    shownChild(window, "jobEditor");
    QTest::qWait(50);
    return window.grab().toImage();
}

// Opens the new-job dialog and waits until it shows.
QDialog* newJobDialog(QWidget& window)
{
    static_cast<MainWindow&>(window).commands().newJob->trigger();
    auto* dialog = shownChild<QDialog>(window, "newJobDialog");
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
    if (QWidget* card = shownChild(window, "hintsCard"))
        shownChild(window, "jobEditor")->findChild<QScrollArea*>()->ensureWidgetVisible(card, 0, 0);
    return withEditor(window);
}

QImage withNewJobDialog(QWidget& window)
{
    return composed(window, newJobDialog(window));
}

// The new-job dialog alone, at the smallest size it allows.
QImage smallestNewJobDialog(QWidget& window)
{
    QDialog* dialog = newJobDialog(window);
    if (!dialog)
        return window.grab().toImage();
    dialog->resize(dialog->minimumSize());
    QTest::qWait(50);
    return dialog->grab().toImage();
}

// The sample data after a pause, a rename and a deletion, with a backup before each.
std::unique_ptr<QWidget> changedWindow()
{
    auto taken = QDateTime(QDate(2026, 3, 2), QTime(8, 12, 5), Qt::UTC);
    return windowOver(
        std::make_unique<DemoCronClient>(),
        [taken]() mutable { return taken = taken.addSecs(754); },
        [](CronStore& store) {
            QCoro::waitFor(store.setEnabled(false, store.document().jobs().at(1)));
            CronJob renamed = store.document().jobs().at(0);
            renamed.name = QStringLiteral("Laravel Scheduler");
            QCoro::waitFor(store.saveJob(renamed, false));
            QCoro::waitFor(store.deleteJob(store.document().jobs().at(2)));
        });
}

QImage onItsScreen(QWidget& window)
{
    return framedOnItsScreen(window, withEditor(window));
}

// The backups dialog with the oldest backup selected: every change shows in its diff.
QImage withBackupsDialog(QWidget& window)
{
    static_cast<MainWindow&>(window).commands().backups->trigger();
    auto* dialog = shownChild<QDialog>(window, "backupsDialog");
    if (auto* list =
            dialog ? dialog->findChild<QTreeView*>(QStringLiteral("backupList")) : nullptr) {
        if (!QTest::qWaitFor([&] { return list->model()->rowCount() == 3; }))
            qWarning("backups dialog: the backups were not listed");
        list->setCurrentIndex(list->model()->index(2, 0));
    }
    QTest::qWait(50);
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
    const auto onScreen = [&](const char* name, const char* screen) {
        Scene scene{QString::fromLatin1(name), {}, sample, onItsScreen};
        scene.screen = QString::fromLatin1(screen);
        return scene;
    };
    const QSize smallest = MainWindow::minimumWindowSize;
    return {
        {QStringLiteral("main-window"), windowSize, sample, withEditor},
        {QStringLiteral("main-window-new-job"), windowSize, sample, withNewJobDialog},
        {QStringLiteral("main-window-backups"), windowSize, changedWindow, withBackupsDialog},
        {QStringLiteral("main-window-smallest"), smallest, sample, withEditor},
        {QStringLiteral("main-window-smallest-large-font"), smallest, sample, withEditor,
         largeFont},
        {QStringLiteral("main-window-large-font"), windowSize, sample, withEditor, largeFont},
        {QStringLiteral("new-job-smallest"), windowSize, sample, smallestNewJobDialog},
        {QStringLiteral("new-job-smallest-large-font"), windowSize, sample, smallestNewJobDialog,
         largeFont},
        {QStringLiteral("main-window-findings"), windowSize,
         [] { return loadedWindow(problemCrontab); }, withFindings},
        {QStringLiteral("main-window-empty"), windowSize, [] { return loadedWindow({}); }},
        onScreen("main-window-on-1280x800", "1280x800"),
        onScreen("main-window-on-1366x768-at-150", "1366x768 at 150 %"),
        {QStringLiteral("main-window-right-to-left"), windowSize, sample, withEditor, 1.0,
         Qt::RightToLeft},
        {QStringLiteral("new-job-right-to-left"), windowSize, sample, withNewJobDialog, 1.0,
         Qt::RightToLeft},
    };
}

} // namespace Tempolane::Screenshots
