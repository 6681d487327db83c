#pragma once

#include <QString>
#include <QStringList>
#include <expected>

namespace Tempolane::Cli {

// The whole text of the file, or of standard input without one; the error is the system's
// own description.
std::expected<QString, QString> readText(const QString& path = {});

// One entry per line feed-terminated line, plus a last unterminated one; a carriage return
// stays part of its line.
QStringList inputLines(const QString& text);

QString jsonString(const QString& text);

// Text from a crontab or a job's output with its control characters written as escapes
// ("\x1b", "\u009b"), so that printing it cannot retitle or clear the user's terminal, and a
// tab or line break inside it cannot break a line of fields apart.
QString printable(QStringView text);

} // namespace Tempolane::Cli
