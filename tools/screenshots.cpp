// Renders the program's windows in a typical use to PNG files for the README
// and the help: `make screenshots` (offscreen, no display needed). A second
// argument names where to export the relief as an STL.
#include "application.h"
#include "document.h"
#include "main_window.h"
#include "model_file_io.h"
#include "picture_box.h"
#include "view_state.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <vector>

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
void withModal(const std::function<void()> &open, const std::function<void(QWidget *)> &drive)
{
    QTimer::singleShot(0, [drive] {
        if (QWidget *window = QApplication::activeModalWidget()) {
            QApplication::processEvents();
            drive(window);
        } else {
            failed = true;
        }
    });
    open();
}

// Runs each drive on the next modal dialog that comes up while `open` runs; any
// further one fails the run.
void withModals(const std::function<void()> &open,
                const std::vector<std::function<void(QWidget *)>> &drives)
{
    std::size_t next = 0;
    QPointer<QWidget> last;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *window = QApplication::activeModalWidget();
        if (!window || window == last)
            return;
        last = window;
        QApplication::processEvents();
        if (next == drives.size()) { // an error message, say: not what the pictures show
            failed = true;
            window->close();
            return;
        }
        drives[next++](window);
    });
    poll.start();
    open();
    failed = failed || next != drives.size();
}

// Types a path into Qt's save dialog and presses Save.
void saveTo(QWidget *dialog, const QString &path)
{
    dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
    static_cast<QDialog *>(dialog)->accept();
}

void mouse(QWidget *box, QEvent::Type type, QPoint at)
{
    // Picture boxes report positions inside their 2-pixel border.
    const QPointF local = at + QPointF(PictureBox::kBorder, PictureBox::kBorder);
    QMouseEvent event(type, local, box->mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
    QApplication::sendEvent(box, &event);
}

void drag(QWidget *box, QPoint from, QPoint to)
{
    mouse(box, QEvent::MouseButtonPress, from);
    mouse(box, QEvent::MouseMove, to);
    mouse(box, QEvent::MouseButtonRelease, to);
}

void trigger(QWidget *window, const char *action)
{
    window->findChild<QAction *>(QString(action))->trigger();
}

void click(QWidget *window, const char *button, int times = 1)
{
    while (times--)
        window->findChild<QPushButton *>(QString(button))->click();
}

// The inks of a small logo, without the blended edges of antialiasing: one group a colour.
constexpr QRgb kLogoRed = qRgb(200, 30, 30);
constexpr QRgb kLogoBlue = qRgb(30, 60, 170);
constexpr QRgb kLogoGold = qRgb(230, 170, 20);
constexpr QRgb kLogoBlack = qRgb(20, 20, 20);

QImage logo()
{
    QImage picture(180, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kLogoBlue));
    painter.drawRect(8, 8, 164, 104);
    painter.setBrush(QColor(kLogoGold));
    painter.drawPolygon(QPolygon({{110, 20}, {160, 100}, {60, 100}}));
    painter.setBrush(QColor(kLogoRed));
    painter.drawEllipse(QPoint(55, 60), 38, 38);
    painter.setPen(QPen(QColor(kLogoBlack), 6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPoint(55, 60), 24, 24);
    return picture;
}

// The dialog's depth for each group, by the colour its row names.
void fillColourDepths(QWidget *dialog, const QMap<QRgb, QString> &depths)
{
    for (int row = 0; auto *name = dialog->findChild<QLabel *>(QStringLiteral("colour%1").arg(row));
         ++row)
        if (name->isVisible())
            dialog->findChild<QLineEdit *>(QStringLiteral("depth%1").arg(row))
                ->setText(depths.value(QColor(name->text()).rgb()));
}

} // namespace

int main(int argc, char *argv[])
{
    // Settings of its own: the dialogs show their defaults, and the styles chosen
    // here never reach the user's.
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QApplication app(argc, argv);
    setUpApplication(app);
    out = QDir(
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs")).absolutePath());
    const QString stl
        = argc > 2 ? QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath() : QString();

    Document document;
    MainWindow main(document, QStringLiteral(ZUVORAK_SOURCE_DIR "/resources/buhin.bmp"));
    main.show();
    auto *view = main.findChild<QWidget *>(QStringLiteral("view"));

    // The boss and its ribs of the sample part.
    withModal(
        [&] { trigger(&main, "captureAction"); },
        [](QWidget *capture) {
            drag(capture->findChild<QWidget *>(QStringLiteral("picture")), {150, 95}, {330, 265});
            save(capture, "capture-window.png");
            trigger(capture, "importAction");
        });

    // A raised ring and a higher bore, then turned to show the relief.
    main.viewState().setDepthValue(20);
    drag(view, {100, 100}, {225, 225});
    click(&main, "applyDepth");
    main.viewState().setDepthValue(45);
    drag(view, {145, 145}, {180, 180});
    click(&main, "applyDepth");
    click(&main, "turnLeft5", 5);
    click(&main, "turnUp5", 2);
    save(&main, "main-window.png");

    // The same view in the large view, with larger points shaded by depth,
    // panned by a right drag to bring the relief to the middle.
    trigger(&main, "largeViewAction");
    QWidget *large = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("largeView"))
            large = window;
    large->resize(480, 480);
    trigger(large, "pointSize2");
    large->findChild<QAction *>(QStringLiteral("shadingAction"))->setChecked(true);
    for (const auto &[type, at] : {std::pair {QEvent::MouseButtonPress, QPointF(300, 300)},
                                   std::pair {QEvent::MouseMove, QPointF(232, 240)},
                                   std::pair {QEvent::MouseButtonRelease, QPointF(232, 240)}}) {
        QMouseEvent event(type, at, large->mapToGlobal(at), Qt::RightButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton, {});
        QApplication::sendEvent(large, &event);
    }
    save(large, "large-view.png");
    large->close();

    // The save dialog starts in the current folder: one with a few models in it,
    // under a name that stays the same from run to run.
    QTemporaryDir temporary;
    QDir modelDir(QDir::temp().filePath(QStringLiteral("reliefs")));
    if (modelDir.exists())
        modelDir.setPath(temporary.filePath(QStringLiteral("reliefs")));
    modelDir.mkpath(QStringLiteral("."));
    const auto removeModels = qScopeGuard([&] { modelDir.removeRecursively(); });
    for (const char *name : {"bracket.chs", "relief.chs", "title1.chs"})
        ModelFile::save(document.model(), modelDir.filePath(QString(name)).toStdString());
    QDir::setCurrent(modelDir.path());
    withModal([&] { trigger(&main, "saveAsAction"); },
              [](QWidget *dialog) {
                  save(dialog, "save-dialog.png");
                  dialog->close();
              });
    withModal([&] { trigger(&main, "aboutAction"); },
              [](QWidget *box) {
                  save(box, "version-box.png");
                  box->close();
              });

    // The 3MF's options in four colours; the relief as an STL for scripts/render_relief.py.
    withModals(
        [&] { trigger(&main, "export3mfAction"); },
        {[&](QWidget *dialog) { saveTo(dialog, temporary.filePath(QStringLiteral("relief"))); },
         [](QWidget *dialog) {
             save(dialog, "export-dialog.png");
             dialog->close();
         }});
    if (!stl.isEmpty() && (!QFile::exists(stl) || QFile::remove(stl))) // no question to replace it
        withModals([&] { trigger(&main, "exportStlAction"); },
                   {[&](QWidget *dialog) { saveTo(dialog, stl); },
                    [](QWidget *dialog) { static_cast<QDialog *>(dialog)->accept(); }});

    // A logo of four colours: its depths by brightness, then a depth for each colour but the
    // gold, and the relief turned in the large view.
    const QString logoPath = temporary.filePath(QStringLiteral("logo.png"));
    logo().save(logoPath);
    withModal([&] { main.captureFrom(logoPath); },
              [](QWidget *capture) {
                  trigger(capture, "selectAllAction");
                  trigger(capture, "importAction");
              });
    withModal([&] { trigger(&main, "brightnessDepthsAction"); },
              [](QWidget *dialog) {
                  save(dialog, "brightness-depths.png");
                  static_cast<QDialog *>(dialog)->accept();
              });
    withModal([&] { trigger(&main, "colourDepthsAction"); },
              [](QWidget *dialog) {
                  fillColourDepths(dialog, {{kLogoRed, QStringLiteral("5")},
                                            {kLogoBlue, QStringLiteral("40")},
                                            {kLogoBlack, QStringLiteral("0")}});
                  save(dialog, "colour-depths.png");
                  static_cast<QDialog *>(dialog)->accept();
              });
    // The large view closed above goes first, so that the command opens a new one.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    trigger(&main, "largeViewAction");
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("largeView"))
            large = window;
    large->resize(480, 480);
    for (const auto &[type, at] : {std::pair {QEvent::MouseButtonPress, QPointF(240, 240)},
                                   std::pair {QEvent::MouseMove, QPointF(170, 200)},
                                   std::pair {QEvent::MouseButtonRelease, QPointF(170, 200)}}) {
        QMouseEvent event(type, at, large->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QApplication::sendEvent(large, &event);
    }
    save(large, "colour-relief.png");
    large->close();
    return failed ? 1 : 0;
}
