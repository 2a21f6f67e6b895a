#include "application.h"
#include "form1.h"
#include "program_state.h"

#include <QApplication>

#include <csignal>
#include <memory>

int main(int argc, char *argv[])
{
    // Under a file-size limit a save then fails with EFBIG and is reported,
    // instead of the signal ending the program with the user's work unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    setUpApplication(app);
    auto state = std::make_unique<ProgramState>();
    Form1 window(*state);
    window.show();
    return app.exec();
}
