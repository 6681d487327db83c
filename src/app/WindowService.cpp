#include "WindowService.h"

#include "BusNames.h"
#include "CanonicalUuid.h"
#include "JobShowing.h"

namespace Tempolane {

WindowService::WindowService(CronStore& store, QObject* parent) : QObject(parent), m_store(store) {}

bool WindowService::registerOn(QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.registerService(BusNames::application()))
        return false;
    return bus.registerObject(BusNames::applicationPath(), this,
                              QDBusConnection::ExportScriptableSlots);
}

void WindowService::ShowJob(const QString& jobId)
{
    if (const auto id = parseCanonicalUuid(jobId))
        showJob(m_store, *id);
    if (!m_window)
        return;
    m_window->show();
    m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->raise();
    m_window->activateWindow();
}

} // namespace Tempolane
