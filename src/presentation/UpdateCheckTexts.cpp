#include "UpdateCheckTexts.h"

#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(UpdateCheckTexts)

namespace Tempolane::UpdateCheckTexts {

QString commandTitle(bool isChecking)
{
    return isChecking ? tr("Suche nach Updates …") : tr("Nach Updates suchen …");
}

QString offerMessage(const QString& installedVersionLine)
{
    return tr("Installiert ist %1. Installiere das Update mit der Paketverwaltung.")
        .arg(installedVersionLine);
}

} // namespace Tempolane::UpdateCheckTexts
