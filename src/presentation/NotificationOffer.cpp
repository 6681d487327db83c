#include "NotificationOffer.h"

namespace Tempolane::NotificationOffer {

bool shouldOffer(const std::optional<SavedChange>& lastChange, bool areOn, bool wasOffered)
{
    return lastChange && lastChange->kind == SavedChange::Kind::enableMonitoring &&
           !lastChange->isUndone && !areOn && !wasOffered;
}

} // namespace Tempolane::NotificationOffer
