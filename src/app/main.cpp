#include "command_line.h"
#include "start_windows.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Under a file-size limit a save then fails with EFBIG and is reported,
    // instead of the signal ending the program with the user's work unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!CommandLine::wantsCommand(arguments))
        return startWindows(argc, argv);
    // A name that is no text in the system's encoding would come back as another name.
    for (int i = 1; i < argc; ++i)
        if (QFile::encodeName(arguments[i]) != argv[i]) {
            std::fprintf(stderr, "zuvorak: argument %d is no text in the system's encoding\n", i);
            return CommandLine::WrongUsage;
        }
    QCoreApplication app(argc, argv);
    return CommandLine::run(arguments);
}
