#include "ScheduleEditorMode.h"

#include <QCoreApplication>

namespace Tempolane {

QString title(ScheduleEditorMode mode)
{
    return mode == ScheduleEditorMode::visual
               ? QCoreApplication::translate("ScheduleEditorMode", "Visuell")
               : QCoreApplication::translate("ScheduleEditorMode", "Cron-Syntax");
}

} // namespace Tempolane
