#include "CliCommand.h"
#include "CliInput.h"
#include "CronExpression.h"

namespace Tempolane::Cli {

namespace {

// Reads expressions from standard input and prints one answer line for each.
template <typename Answer>
int answerEachLine(const QStringList& arguments, Streams streams, const char* usage, Answer answer)
{
    if (!arguments.isEmpty()) {
        streams.err << usage << Qt::endl;
        return usageError;
    }
    const auto text = readText();
    if (!text) {
        streams.err << text.error() << Qt::endl;
        return failure;
    }
    int status = success;
    for (const QString& line : inputLines(*text))
        status = std::max(status, int(answer(line, streams)));
    return status;
}

} // namespace

int validate(const QStringList& arguments, Streams streams)
{
    return answerEachLine(
        arguments, streams, "usage: tempolane-cli validate < expressions",
        [](const QString& expression, Streams out) {
            out.out << CronExpression::validationMessage(expression).value_or(QStringLiteral("ok"))
                    << u'\n';
            return int(success);
        });
}

} // namespace Tempolane::Cli
