#include "main_window.h"

#include "about_box.h"
#include "capture_window.h"
#include "document.h"
#include "file_dialog.h"
#include "help_viewer.h"
#include "import.h"
#include "large_view.h"
#include "messages.h"
#include "picture_box.h"
#include "picture_file.h"
#include "platform.h"
#include "settings.h"
#include "texts.h"
#include "view_state.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

// The menu commands: capture and import, files, the large view, help and exit.

void MainWindow::capture()
{
    captureFrom(capturePicture_);
}

void MainWindow::captureFrom(const QString &picture)
{
    CaptureWindow window(picture, this);
    if (window.exec() != QDialog::Accepted || !window.taken())
        return;
    stageImport(*window.taken(), staging_->surface());
    staging_->update();
    Model model;
    {
        const BusyCursor busy;
        model = buildModelFromPicture(staging_->surface(), view_->surface().width(),
                                      view_->surface().height(), kViewCentre);
    }
    document_.importModel(std::move(model), staging_->surface().image());
    if (document_.model().count() == 0)
        showError(this, QString(Texts::kNothingImported));
}

void MainWindow::openModel()
{
    if (mayDiscardChanges())
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
        if (result.ok()) {
            showFileName(path, Texts::kOpenedCaptionSuffix);
            rememberRecentFile(path);
        } else
            showError(this, modelFileFailureText(path, result, false));
    }
    // Whether or not a file was opened: back to the front view.
    staging_->surface().clear();
    staging_->update();
    viewState_->showFront();
}

bool MainWindow::saveModelTo(const QString &path)
{
    ModelFile::FileResult result;
    {
        const BusyCursor busy;
        result = document_.save(path);
    }
    if (result.ok())
        rememberRecentFile(path);
    else
        showError(this, modelFileFailureText(path, result, true));
    return result.ok();
}

void MainWindow::rememberRecentFile(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = load<Remembered::RecentFiles>();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    ::save<Remembered::RecentFiles>(paths.mid(0, kMaxRecentFiles));
    showRecentFiles();
}

void MainWindow::showRecentFiles()
{
    const QStringList paths = load<Remembered::RecentFiles>();
    for (qsizetype i = 0; i < recentActions_.size(); ++i) {
        QAction *entry = recentActions_[i];
        entry->setVisible(i < paths.size());
        if (i >= paths.size())
            continue;
        // An & in a name is shown, not taken for a mnemonic.
        QString shown = QDir::toNativeSeparators(paths[i]);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        entry->setText(QString(Texts::kMenuRecentFile).arg(i + 1).arg(shown));
        entry->setData(paths[i]);
    }
    recentMenu_->menuAction()->setEnabled(!paths.isEmpty());
}

void MainWindow::openRecentFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        QStringList paths = load<Remembered::RecentFiles>();
        paths.removeAll(path);
        ::save<Remembered::RecentFiles>(paths);
        showRecentFiles();
        showError(this, QString(Texts::kRecentFileMissing).arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (mayDiscardChanges())
        openModelFile(path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    // After the drop has ended: the program that the file came from waits until then, and
    // must not wait through a question or the capture window.
    QTimer::singleShot(0, this, [this, path = urls.front().toLocalFile()] { openDropped(path); });
}

void MainWindow::openDropped(const QString &path)
{
    if (QFileInfo(path).suffix().compare(QStringLiteral("chs"), Qt::CaseInsensitive) != 0)
        captureFrom(path);
    else if (mayDiscardChanges())
        openModelFile(path);
}

void MainWindow::showFileName(const QString &path, const char *suffix)
{
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral("[*]") + QString(suffix));
}

void MainWindow::save()
{
    saveCurrentModel();
}

bool MainWindow::saveCurrentModel()
{
    if (!document_.fileName().isEmpty())
        return saveModelTo(document_.fileName());
    saveAs();
    return !document_.isModified();
}

void MainWindow::saveAs()
{
    const QString path = SaveDialog::getTargetPath(this, QString(Texts::kSaveModelCaption),
                                                   QStringLiteral(".chs"));
    if (!path.isEmpty() && saveModelTo(path))
        showFileName(path, Texts::kSavedCaptionSuffix);
}

bool MainWindow::mayDiscardChanges()
{
    if (!document_.isModified())
        return true;
    QMessageBox question(QMessageBox::Warning, QString(Texts::kProduct),
                         QString(Texts::kSaveChangesQuestion), QMessageBox::NoButton, this);
    question.setWindowModality(Qt::WindowModal);
    question.addButton(QString(Texts::kSaveChanges), QMessageBox::AcceptRole);
    QPushButton *discard
        = question.addButton(QString(Texts::kDiscardChanges), QMessageBox::DestructiveRole);
    QPushButton *cancel = question.addButton(QString(Texts::kCancel), QMessageBox::RejectRole);
    question.setDefaultButton(cancel);
    question.exec();
    if (question.clickedButton() == discard)
        return true;
    if (question.clickedButton() == cancel || !question.clickedButton())
        return false;
    return saveCurrentModel();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (mayDiscardChanges())
        event->accept();
    else
        event->ignore();
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
        largeView_ = new LargeView(*viewState_);
    largeView_->show();
    largeView_->raise();
    largeView_->activateWindow();
}

void MainWindow::showHelpContents()
{
    // F1 opens the help in every window from now on.
    HelpViewer &help = HelpViewer::instance();
    help.setHelpFile(shippedFile(QStringLiteral("help/zuvorak.html")));
    help.showHelp();
}

void MainWindow::showAbout()
{
    AboutBox box(this);
    box.exec();
}

void MainWindow::exitProgram()
{
    // At once once the changes are safe: no window is asked to close but the
    // large view, which keeps its place and size for the next start on closing.
    if (!mayDiscardChanges())
        return;
    if (largeView_)
        largeView_->close();
    QCoreApplication::exit(0);
}
