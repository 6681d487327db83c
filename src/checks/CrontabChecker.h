#pragma once

#include "CheckContext.h"
#include "CheckMachine.h"
#include "Finding.h"

#include <QList>
#include <QString>

namespace Tempolane {

// Tells why a line of a crontab will not do what its author meant: each rule decided as
// Debian's cron and dash behave, on the machine it is given. It never runs a command and never
// executes what it inspects; of files it reads no more than their first bytes.
class CrontabChecker final
{
public:
    explicit CrontabChecker(CheckMachine machine);

    // Every finding of the text in line order, silenced ones left out. `runnerPath` names the
    // runner that monitored jobs call.
    QList<Finding> check(const QString& text, CrontabSource source,
                         const QString& runnerPath) const;

    const CheckMachine& machine() const { return m_machine; }

private:
    CheckMachine m_machine;
};

} // namespace Tempolane
