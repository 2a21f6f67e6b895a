#include "main_window.h"

#include "about_box.h"
#include "capture_window.h"
#include "document.h"
#include "file_dialog.h"
#include "help_viewer.h"
#include "import.h"
#include "large_view.h"
#include "model_file_messages.h"
#include "picture_box.h"
#include "picture_file.h"
#include "platform.h"
#include "texts.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>

// The menu commands: capture and import, files, the large view, help and exit.

void MainWindow::capture()
{
    CaptureWindow window(capturePicture_, this);
    if (window.exec() != QDialog::Accepted || !window.taken())
        return;
    stageImport(*window.taken(), staging_->surface());
    staging_->update();
    Model model;
    {
        const BusyCursor busy;
        model = buildModelFromPicture(staging_->surface(), view_->surface().width(),
                                      view_->surface().height(), document_.centre());
    }
    document_.importModel(std::move(model));
}

void MainWindow::openModel()
{
    openModelFile(OpenDialog::getOpenPath(this, QStringLiteral("*.chs")));
}

void MainWindow::openModelFile(const QString &path)
{
    if (!path.isEmpty()) {
        ModelFile::FileResult result;
        {
            const BusyCursor busy;
            result = document_.open(path);
        }
        if (result.ok())
            setWindowTitle(QFileInfo(path).fileName() + QString(Texts::kOpenedCaptionSuffix));
        else
            showError(this, modelFileFailureText(path, result, false));
    }
    // Whether or not a file was opened: back to the front view.
    staging_->surface().clear();
    staging_->update();
    document_.showFront();
}

bool MainWindow::saveModelTo(const QString &path)
{
    ModelFile::FileResult result;
    {
        const BusyCursor busy;
        result = document_.save(path);
    }
    if (!result.ok())
        showError(this, modelFileFailureText(path, result, true));
    return result.ok();
}

void MainWindow::save()
{
    if (document_.fileName().isEmpty())
        saveAs();
    else
        saveModelTo(document_.fileName());
}

void MainWindow::saveAs()
{
    const QString path = SaveDialog::getTargetPath(this, QString(Texts::kSaveModelCaption),
                                                   QStringLiteral(".chs"));
    if (!path.isEmpty() && saveModelTo(path))
        setWindowTitle(QFileInfo(path).fileName() + QString(Texts::kSavedCaptionSuffix));
}

void MainWindow::saveBitmap()
{
    const QString path = SaveDialog::getTargetPath(this, QString(Texts::kSaveBitmapCaption),
                                                   QStringLiteral(".bmp"));
    if (path.isEmpty())
        return;
    PictureResult result;
    {
        const BusyCursor busy;
        result = writePicture(view_->surface().image(), path);
    }
    if (!result.ok())
        showError(this, pictureFailureText(path, result, true));
}

void MainWindow::showLargeView()
{
    if (!largeView_)
        largeView_ = new LargeView(document_);
    largeView_->show();
    largeView_->raise();
    largeView_->activateWindow();
}

void MainWindow::showHelpContents()
{
    HelpViewer &help = HelpViewer::instance();
    help.setHelpFile(shippedFile(QStringLiteral("help/zuvorak.html")));
    // Pressing F1 opens the help from now on; the command presses it once.
    QWidget *target = QApplication::activeWindow() ? QApplication::activeWindow() : this;
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
}

void MainWindow::showAbout()
{
    AboutBox box(this);
    box.exec();
}

void MainWindow::exitProgram()
{
    // At once: no window is asked to close.
    QCoreApplication::exit(0);
}
