#include "command_line.h"
#include "start_windows.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!CommandLine::wantsCommand(arguments))
        return startWindows(argc, argv);
    QCoreApplication app(argc, argv);
    return CommandLine::run(QCoreApplication::arguments());
}
