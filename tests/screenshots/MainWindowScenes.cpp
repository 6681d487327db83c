// The main window on the sample data: a job selected, the new-job dialog open, and an empty
// crontab.
#include "CronBackupStore.h"
#include "CronStore.h"
#include "DataLocations.h"
#include "DemoCronClient.h"
#include "MainWindow.h"
#include "NullExecutionManager.h"
#include "Scene.h"

#include <QApplication>
#include <QCoro/QCoroTask>
#include <QDialog>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace Tempolane::Screenshots {

namespace {

const QSize windowSize{1280, 800};

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
    QCoro::waitFor(store->load());
    auto window = std::make_unique<MainWindow>(*store);
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

// The window dimmed, with its dialog on top in the middle, as a window-modal dialog sits.
QImage withDialog(QWidget& window)
{
    auto& mainWindow = static_cast<MainWindow&>(window);
    mainWindow.commands().newJob->trigger();
    QDialog* dialog = nullptr;
    if (!QTest::qWaitFor([&] {
            dialog = window.findChild<QDialog*>(QStringLiteral("newJobDialog"));
            return dialog && dialog->isVisible();
        }))
        qWarning("main window: the new-job dialog did not open");
    QTest::qWait(50);
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

} // namespace

QList<Scene> mainWindowScenes()
{
    return {
        {QStringLiteral("main-window"), windowSize,
         [] { return loadedWindow(DemoCronClient::sampleText()); }, withEditor},
        {QStringLiteral("main-window-new-job"), windowSize,
         [] { return loadedWindow(DemoCronClient::sampleText()); }, withDialog},
        {QStringLiteral("main-window-empty"),
         windowSize,
         [] { return loadedWindow(QString()); },
         {}},
    };
}

} // namespace Tempolane::Screenshots
