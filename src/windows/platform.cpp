#include "platform.h"

#include "texts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

BusyCursor::BusyCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

namespace {

// Left W div 2 - W div 4, top H div 4, with W and H the screen size in twips (15 a pixel);
// returned in pixels.
QPoint placementFor(QSize screenPixels)
{
    constexpr int kTwipsPerPixel = 15;
    const int w = screenPixels.width() * kTwipsPerPixel;
    const int h = screenPixels.height() * kTwipsPerPixel;
    return {(w / 2 - w / 4) / kTwipsPerPixel, (h / 4) / kTwipsPerPixel};
}

} // namespace

void placeWindow(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->move(screen->geometry().topLeft() + placementFor(screen->size()));
}

QAction *makeAction(QObject *parent, const char *name, const char *caption)
{
    auto *action = new QAction(QString(caption), parent);
    action->setObjectName(QString(name));
    return action;
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString shippedFile(const QString &name)
{
    const QString beside = QDir(programFolder()).filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    // Installed: <prefix>/bin/zuvorak finds its files in <prefix>/share/zuvorak.
    const QString installed
        = QDir(programFolder()).filePath(QStringLiteral("../share/zuvorak/") + name);
    return QFileInfo::exists(installed) ? installed : beside;
}

void showError(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QString(Texts::kErrorTitle), text, QMessageBox::Ok,
                    parent);
    // Window-modal, so the help stays usable while the box is up.
    box.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    box.exec();
}
