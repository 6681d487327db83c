#pragma once

#include <QCommandLineParser>
#include <QProcessEnvironment>
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

    // A window can be shown: a display, a Wayland display or an explicit Qt platform is named.
    static bool hasDisplay(const QProcessEnvironment& environment, const QStringList& arguments);
    static QString noDisplayMessage();

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
};

} // namespace Tempolane
