#pragma once

#include <QString>

// The words of the update check that its menu item, its button and its alerts show.
namespace Tempolane::UpdateCheckTexts {

// "Nach Updates suchen …", or "Suche nach Updates …" while a check runs.
QString commandTitle(bool isChecking);
// The offer's message: which version is installed and how to get the new one.
QString offerMessage(const QString& installedVersionLine);

} // namespace Tempolane::UpdateCheckTexts
