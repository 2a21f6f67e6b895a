// Renders the program's windows to PNG files for the README:
//   QT_QPA_PLATFORM=offscreen build/tests/zuvorak_screenshots docs
#include "application.h"
#include "form1.h"
#include "program_state.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));

    auto state = std::make_unique<ProgramState>();
    Form1 main(*state);
    main.show();
    QApplication::processEvents();
    const QString path = out.filePath(QStringLiteral("main-window.png"));
    if (!main.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}
