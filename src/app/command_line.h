#pragma once

#include <QStringList>

// The command line: subcommands that need no display and never open a window.
namespace CommandLine {

// The exit statuses; with several failures the highest one.
enum Status : int {
    Written = 0,
    WrongUsage = 1,
    InputRefused = 2,
    OutputFailed = 3,
};

// Whether the arguments name a subcommand, --help or --version rather than
// the windows with at most one file to open.
bool wantsCommand(const QStringList &arguments);

// Runs what wantsCommand() accepted; needs a QCoreApplication. Messages go to
// standard error, the output of info to standard output.
int run(const QStringList &arguments);

} // namespace CommandLine
