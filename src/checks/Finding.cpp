#include "Finding.h"

#include <algorithm>

namespace Tempolane {

QString rawValue(Severity severity)
{
    switch (severity) {
    case Severity::error:
        return QStringLiteral("error");
    case Severity::warning:
        return QStringLiteral("warning");
    case Severity::hint:
        return QStringLiteral("hint");
    }
    Q_UNREACHABLE();
}

std::optional<QString> appliedEdits(const QString& text, QList<LineEdit> edits)
{
    QStringList lines = text.split(u'\n');
    // From the bottom, so that each edit finds its line where it was.
    std::sort(edits.begin(), edits.end(),
              [](const LineEdit& a, const LineEdit& b) { return a.line > b.line; });
    for (const LineEdit& edit : edits) {
        if (edit.line < 0 || edit.line >= lines.size() || lines[edit.line] != edit.expected)
            return std::nullopt;
        lines.remove(edit.line);
        for (qsizetype i = 0; i < edit.replacement.size(); ++i)
            lines.insert(edit.line + i, edit.replacement[i]);
    }
    return lines.join(u'\n');
}

} // namespace Tempolane
