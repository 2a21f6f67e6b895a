#include "start_windows.h"

#include "application.h"
#include "document.h"
#include "main_window.h"
#include "platform.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

int startWindows(int &argc, char **argv)
{
    QApplication app(argc, argv);
    setUpApplication(app);
    // Qt has taken its own options out of argv by now.
    if (argc > 2) {
        std::fputs("zuvorak: the windows open one model file or picture at a time; "
                   "see zuvorak --help for the commands\n",
                   stderr);
        return 1;
    }
    Document document;
    MainWindow window(document, shippedFile(QStringLiteral("buhin.bmp")));
    window.show();
    if (argc == 2) {
        // Once the event loop runs, so that a message box comes up over the window.
        QTimer::singleShot(0, &window, [&window, path = QString::fromLocal8Bit(argv[1])] {
            openStartFile(window, path);
        });
    }
    return app.exec();
}

void openStartFile(MainWindow &window, const QString &path)
{
    if (QFileInfo(path).suffix().compare(QStringLiteral("chs"), Qt::CaseInsensitive) == 0)
        window.openModelFile(path);
    else
        window.captureFrom(path);
}
