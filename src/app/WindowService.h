#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace Tempolane {

class CronStore;

// The one window process of a session: it owns the application's name on the session bus and
// answers ShowJob, from a second start of the program or a notification's "Anzeigen", by
// bringing its window forward with the job selected.
class WindowService final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.tempolane.Tempolane")

public:
    explicit WindowService(CronStore& store, QObject* parent = nullptr);

    // Takes the name; false where another process owns it or there is no bus.
    bool registerOn(QDBusConnection bus);
    void setWindow(QWidget* window) { m_window = window; }

public Q_SLOTS:
    // An empty id only brings the window forward.
    Q_SCRIPTABLE void ShowJob(const QString& jobId);

private:
    CronStore& m_store;
    QPointer<QWidget> m_window;
};

} // namespace Tempolane
