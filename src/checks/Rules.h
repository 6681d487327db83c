#pragma once

#include "CheckContext.h"
#include "CheckedLine.h"
#include "CronEnvironment.h"
#include "ShellCommand.h"

// The checks of one line each, by what they look at. Each adds its findings to the context.
namespace Tempolane::Rules {

// The command's text: "%" and a carriage return at the end. `shell` is what the shell reads of
// the command: up to its first "%" (CronCommandText).
void percent(const CheckedLine& line, const CronCommandText& cronText, const ShellCommand& shell,
             CheckContext& context);
void lineEnding(const CheckedLine& line, const ShellCommand& shell, CheckContext& context,
                const Fix& repair);

// The programs the command names: command-not-found, not-executable, relative-path,
// desktop-session.
void programs(const CheckedLine& line, const CronCommandText& cronText, const ShellCommand& shell,
              CheckContext& context);

// How the shell reads it: shell-syntax, output-lost.
void shell(const CheckedLine& line, const ShellCommand& shell, CheckContext& context);

// When it runs: never-runs, odd-schedule, either-day, every-minute, clock-change, overlap.
void schedule(const CheckedLine& line, CheckContext& context);

// An assignment line, with the environment that the lines above it make.
void assignment(qsizetype index, const EnvironmentAssignment& assigned,
                const QProcessEnvironment& above, CheckContext& context);

// A line that the crontab tool would refuse the whole file for.
void refusedLine(qsizetype index, const CronJobLine::Refusal& refusal, CheckContext& context);

} // namespace Tempolane::Rules
