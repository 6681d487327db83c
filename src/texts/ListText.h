#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace Tempolane {

// Items joined as the locale joins a list ("a, b und c" in German).
QString listText(const QStringList& items, const QLocale& locale = QLocale());

} // namespace Tempolane
