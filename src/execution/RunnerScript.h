#pragma once

#include <QString>
#include <QStringView>

namespace Tempolane {

// Where the installer puts the quoted executions root into the script.
inline constexpr QStringView runnerRootPlaceholder = u"__ROOT__";

// The runner's shell text, with the root still a placeholder.
QString runnerScriptTemplate();

} // namespace Tempolane
