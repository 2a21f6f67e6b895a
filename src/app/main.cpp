#include "application.h"
#include "document.h"
#include "main_window.h"
#include "platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    Document document;
    MainWindow window(document, shippedFile(QStringLiteral("buhin.bmp")));
    window.show();
    return app.exec();
}
