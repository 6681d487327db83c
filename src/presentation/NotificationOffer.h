#pragma once

#include "SavedChange.h"

#include <optional>

namespace Tempolane::NotificationOffer {

// Remembers in the user defaults that the offer was made.
inline constexpr auto offeredKey = "hasOfferedFailureNotifications";

// Whether to offer notifications of failed runs now: monitoring was just switched on for all
// jobs through the suggestion, notifications are off, and they were never offered before.
bool shouldOffer(const std::optional<SavedChange>& lastChange, bool areOn, bool wasOffered);

} // namespace Tempolane::NotificationOffer
