#include "PlatformTexts.h"

#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(ExecutionEditor)

namespace Tempolane::PlatformTexts {

QString executionFooter()
{
#ifdef Q_OS_MACOS
    return tr("Maximal 100 Ausführungen pro Job, höchstens 30 Tage. Alles bleibt lokal auf diesem "
              "Mac.");
#else
    return tr("Maximal 100 Ausführungen pro Job, höchstens 30 Tage. Alles bleibt lokal auf diesem "
              "Computer.");
#endif
}

QString notObservedDetail()
{
#ifdef Q_OS_MACOS
    return tr("Der Mac war möglicherweise ausgeschaltet oder im Ruhezustand.");
#else
    return tr("Der Computer war möglicherweise ausgeschaltet oder im Ruhezustand.");
#endif
}

} // namespace Tempolane::PlatformTexts
