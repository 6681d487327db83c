#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

namespace Tempolane {

// The arguments of the desktop program: --help and --version answer in the terminal and need
// no display; anything else opens the window.
class DesktopCommandLine final
{
public:
    enum class Outcome
    {
        openWindow,
        exitSuccessfully,
        exitWithUsageError
    };

    DesktopCommandLine();

    // Whether the arguments ask only for text (help or version), read before any application
    // object exists. Arguments meant for Qt's windowing (-platform …) are not understood yet.
    bool asksForTextOnly(const QStringList& arguments);
    // Prints help, version or the error about the arguments, given the application's own.
    Outcome handle(const QStringList& arguments, QTextStream& out, QTextStream& err);

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
};

} // namespace Tempolane
