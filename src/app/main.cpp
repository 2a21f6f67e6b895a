#include "command_line.h"
#include "start_windows.h"

#include <QCoreApplication>

#include <csignal>

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
    QCoreApplication app(argc, argv);
    return CommandLine::run(QCoreApplication::arguments());
}
