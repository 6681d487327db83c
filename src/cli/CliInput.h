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

} // namespace Tempolane::Cli
