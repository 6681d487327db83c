#pragma once

#include "CrontabText.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <expected>
#include <optional>

namespace Tempolane::Cli {

// The whole text of the file, or of standard input without one; the error is the system's
// own description.
std::expected<QString, QString> readText(const QString& path = {});

// One entry per line feed-terminated line, plus a last unterminated one; a carriage return
// stays part of its line.
QStringList inputLines(const QString& text);

QString jsonString(const QString& text);

using CrontabText::printable;

// The instant in local time with its offset ("2026-03-01T09:30:05+01:00"), or "-".
QString localTime(const std::optional<QDateTime>& instant);

} // namespace Tempolane::Cli
