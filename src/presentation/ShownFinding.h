#pragma once

#include "Finding.h"
#include "Symbol.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Tempolane {

// A finding as the "Hinweise" card and the banner above the job list show it: its symbol and
// colour by severity, the line it stands on where that is no job, and what its buttons do.
struct ShownFinding
{
    Symbol symbol = Symbol::info;
    Tint tint = Tint::secondary;
    QString message;
    // "Zeile 12: 0 9 * * sat-sun /bin/true"; empty for a job's own findings.
    QString lineText;
    QList<Fix> fixes;
    // "Nicht mehr anzeigen".
    Fix silencing;

    friend bool operator==(const ShownFinding&, const ShownFinding&) = default;

    // `lines` are those of the crontab the findings were made for.
    static QList<ShownFinding> of(const QList<Finding>& findings, const QStringList& lines,
                                  bool showsLines);
};

// "2 Zeilen deiner Crontab laufen nie" where each line the findings name never runs, else
// "2 Zeilen deiner Crontab brauchen einen Blick".
QString lineFindingsTitle(const QList<Finding>& findings);

} // namespace Tempolane
