#pragma once

#include <QString>

namespace Tempolane::PlatformTexts {

// Texts that name the computer: the Mac on macOS, the computer elsewhere.
QString executionFooter();
QString notObservedDetail();

} // namespace Tempolane::PlatformTexts
