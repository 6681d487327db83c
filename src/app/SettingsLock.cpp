#include "SettingsLock.h"

#include "CrontabText.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <QLockFile>

TEMPOLANE_TEXT_CONTEXT(SettingsLock)

namespace Tempolane::SettingsLock {

std::optional<QString> whyUnwritable(const QSettings& settings, std::chrono::milliseconds timeLimit)
{
    // The name QSettings gives its lock.
    const QString path = settings.fileName() + QStringLiteral(".lock");
    QLockFile lock(path);
    if (lock.tryLock(timeLimit)) {
        lock.unlock();
        return std::nullopt;
    }
    return tr("Tempolane: Die Einstellungen bleiben ungespeichert, weil die Sperre %1 weder "
              "genommen noch entfernt werden kann.")
        .arg(CrontabText::printable(path));
}

} // namespace Tempolane::SettingsLock
