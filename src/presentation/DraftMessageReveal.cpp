#include "DraftMessageReveal.h"

namespace Tempolane {

namespace {

// Blank as the draft rules see it: nothing but blanks and line breaks.
bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

void DraftMessageReveal::leave(DraftField field, const QString& text)
{
    if (isBlank(text))
        leftEmpty(field) = true;
}

std::optional<QString> DraftMessageReveal::shown(DraftField field, const QString& text,
                                                 const std::optional<QString>& message) const
{
    if (!message)
        return std::nullopt;
    const bool waits = m_isNew && isBlank(text) && !m_hasAttemptedSave && !wasLeftEmpty(field);
    return waits ? std::nullopt : message;
}

bool& DraftMessageReveal::leftEmpty(DraftField field)
{
    return field == DraftField::name ? m_nameLeftEmpty : m_commandLeftEmpty;
}

bool DraftMessageReveal::wasLeftEmpty(DraftField field) const
{
    return field == DraftField::name ? m_nameLeftEmpty : m_commandLeftEmpty;
}

} // namespace Tempolane
