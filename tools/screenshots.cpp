// Renders the program's windows in a typical use to PNG files for the README
// and the help: `make screenshots` (offscreen, no display needed).
#include "application.h"
#include "form1.h"
#include "form2.h"
#include "form4.h"
#include "form5.h"
#include "model_file_io.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

QDir out;
bool failed = false;

void save(QWidget *window, const char *name)
{
    QApplication::processEvents();
    const QString path = out.filePath(QString(name));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        failed = true;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// Runs `drive` on the modal window that `open` shows.
template<typename Window>
void withModal(const std::function<void()> &open, const std::function<void(Window *)> &drive)
{
    QTimer::singleShot(0, [drive] {
        if (auto *window = qobject_cast<Window *>(QApplication::activeModalWidget())) {
            window->show();
            QApplication::processEvents();
            drive(window);
        } else {
            failed = true;
            QApplication::activeModalWidget()->close();
        }
    });
    open();
}

void drag(Form1 &form, float x1, float y1, float x2, float y2, int depth)
{
    form.findChild<QScrollBar *>(QStringLiteral("HScroll1"))->setValue(depth);
    form.Picture1_MouseDown(1, 0, x1, y1);
    form.Picture1_MouseMove(1, 0, x2, y2);
    form.Picture1_MouseUp(1, 0, x2, y2);
    form.Command27_Click();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    out = QDir(
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs")).absolutePath());
    Form4::setStartPicture(QStringLiteral(ZUVORAK_SOURCE_DIR "/resources/buhin.bmp"));

    auto state = std::make_unique<ProgramState>();
    Form1 main(*state);
    main.show();

    // The boss and its ribs of the sample part.
    withModal<Form4>([&] { main.mnuBuhin_Click(); },
                     [](Form4 *capture) {
                         capture->Picture1_MouseDown(1, 0, 150, 95);
                         capture->Picture1_MouseMove(1, 0, 330, 265);
                         capture->Picture1_MouseUp(1, 0, 330, 265);
                         save(capture, "capture-window.png");
                         capture->mnuTorikomi_Click();
                     });

    // A raised ring and a higher bore, then turned to show the relief.
    drag(main, 100, 100, 225, 225, 20);
    drag(main, 145, 145, 180, 180, 45);
    for (int click = 0; click < 5; ++click)
        main.Cokl2_Click();
    main.Coku2_Click();
    main.Coku2_Click();
    save(&main, "main-window.png");

    // The save dialog starts in the current folder: one with a few models in it.
    QTemporaryDir models;
    const QDir modelDir(models.path());
    for (const char *name : {"bracket.chs", "relief.chs", "title1.chs"})
        ModelFile::save(*state, modelDir.filePath(QString(name)).toStdString());
    QDir::setCurrent(models.path());
    withModal<Form2>([&] { main.mnuSaveAs_Click(); },
                     [](Form2 *dialog) {
                         save(dialog, "save-dialog.png");
                         dialog->close();
                     });
    withModal<Form5>([&] { main.mnuVersion_Click(); },
                     [](Form5 *box) {
                         save(box, "version-box.png");
                         box->close();
                     });
    return failed ? 1 : 0;
}
