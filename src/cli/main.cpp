#include "CliCommand.h"
#include "Language.h"

#include <QCoreApplication>
#include <map>

using namespace Tempolane;

namespace {

const std::map<QString, Cli::Command>& commands()
{
    static const std::map<QString, Cli::Command> table{
        {QStringLiteral("validate"), Cli::validate},
        {QStringLiteral("parse"), Cli::parse},
        {QStringLiteral("list"), Cli::list},
        {QStringLiteral("runs"), Cli::runs},
        {QStringLiteral("install-runner"), Cli::installRunner},
        {QStringLiteral("next"), Cli::next},
        {QStringLiteral("describe"), Cli::describe},
        {QStringLiteral("visual"), Cli::visual},
        {QStringLiteral("status"), Cli::status},
        {QStringLiteral("backups"), Cli::backups},
        {QStringLiteral("diff"), Cli::diff},
        {QStringLiteral("restore"), Cli::restore},
        {QStringLiteral("pause"), Cli::pause},
        {QStringLiteral("resume"), Cli::resume},
        {QStringLiteral("delete"), Cli::remove},
        {QStringLiteral("run"), Cli::run},
        {QStringLiteral("notifications"), Cli::notifications},
        {QStringLiteral("upcoming"), Cli::upcoming},
        {QStringLiteral("check"), Cli::check},
    };
    return table;
}

void printUsage(QTextStream& err)
{
    err << "usage: tempolane-cli COMMAND [ARGUMENTS]\ncommands:";
    for (const auto& [name, command] : commands())
        err << u' ' << name;
    err << Qt::endl;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Qt's texts in a terminal are the descriptions of file errors, which scripts may read: they
    // stay as Qt writes them, as they always have.
    Language::installForEnvironment(app, Language::QtTexts::asQtWritesThem);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList arguments = app.arguments().mid(1);
    const auto command =
        arguments.isEmpty() ? commands().end() : commands().find(arguments.front());
    if (command == commands().end()) {
        printUsage(err);
        return Cli::usageError;
    }
    arguments.removeFirst();
    return command->second(arguments, {out, err});
}
