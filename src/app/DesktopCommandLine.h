#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <QUuid>

namespace Tempolane {

// The arguments of the desktop program: --help and --version answer in the terminal and need
// no display, nor does --background, which runs the watcher of failed runs; anything else
// opens the window, with --job ID showing that job.
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
    // Whether the arguments ask for the background watcher, read before any application object
    // exists.
    bool asksForBackground(const QStringList& arguments);
    // Prints help, version or the error about the arguments, given the application's own.
    Outcome handle(const QStringList& arguments, QTextStream& out, QTextStream& err);

    // The job that --job named, after `handle` let the window open; null when none was named.
    QUuid jobToShow() const { return m_jobToShow; }

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_background;
    QCommandLineOption m_job;
    QUuid m_jobToShow;
};

} // namespace Tempolane
