#include "application.h"
#include "form1.h"
#include "program_state.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    auto state = std::make_unique<ProgramState>();
    Form1 window(*state);
    window.show();
    return app.exec();
}
