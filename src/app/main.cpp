#include "application.h"
#include "document.h"
#include "main_window.h"
#include "platform.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    // Under a file-size limit a save then fails with EFBIG and is reported,
    // instead of the signal ending the program with the user's work unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    setUpApplication(app);
    Document document;
    MainWindow window(document, shippedFile(QStringLiteral("buhin.bmp")));
    window.show();
    return app.exec();
}
