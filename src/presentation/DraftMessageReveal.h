#pragma once

#include <QString>
#include <optional>

namespace Tempolane {

// The fields of the editor whose message waits until the user has had a chance to fill them.
enum class DraftField
{
    name,
    command,
};

// When the editor shows the name's and the command's messages. A job being created starts
// with both fields empty: telling the user off for that before they typed anything is noise,
// so a field that is empty shows its message only once the user left it empty or tried to
// save. Any other message (too long, a line break, a percent sign) is the answer to what was
// typed and shows at once, as do all messages of an existing job.
class DraftMessageReveal final
{
public:
    explicit DraftMessageReveal(bool isNew) : m_isNew(isNew) {}

    // The keyboard focus left the field, holding `text`.
    void leave(DraftField field, const QString& text);
    void attemptSave() { m_hasAttemptedSave = true; }

    // The message to show for the field, given the draft's text in it and its rules' message.
    std::optional<QString> shown(DraftField field, const QString& text,
                                 const std::optional<QString>& message) const;

private:
    bool& leftEmpty(DraftField field);
    bool wasLeftEmpty(DraftField field) const;

    bool m_isNew;
    bool m_hasAttemptedSave = false;
    bool m_nameLeftEmpty = false;
    bool m_commandLeftEmpty = false;
};

} // namespace Tempolane
