#pragma once

#include <QObject>
#include <QStringList>

namespace Tempolane::Testing {

// The session's window as far as "Anzeigen" reaches it: it notes each job it is asked to show.
// Register it on a bus at "/io/github/tempolane/Tempolane" with its scriptable slots, under the
// name "io.github.tempolane.Tempolane".
class WindowStandIn final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.tempolane.Tempolane")

public:
    QStringList shown;

public Q_SLOTS:
    Q_SCRIPTABLE void ShowJob(const QString& jobId) { shown.append(jobId); }
};

} // namespace Tempolane::Testing
