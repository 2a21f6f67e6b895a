#include "help_viewer.h"

#include "platform.h"
#include "texts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>

HelpViewer &HelpViewer::instance()
{
    static HelpViewer *viewer = new HelpViewer;
    return *viewer;
}

HelpViewer::HelpViewer()
{
    qApp->installEventFilter(this);
}

void HelpViewer::setHelpFile(const QString &path)
{
    helpFile_ = path;
}

void HelpViewer::showHelp()
{
    if (!QFileInfo(helpFile_).isFile()) {
        showError(QApplication::activeWindow(),
                  QString(Texts::kHelpMissing).arg(QDir::toNativeSeparators(helpFile_)));
        return;
    }
    if (!window_) {
        window_ = new QTextBrowser;
        window_->setAttribute(Qt::WA_DeleteOnClose);
        // Closing the main window ends the program even while the help is open.
        window_->setAttribute(Qt::WA_QuitOnClose, false);
        window_->setObjectName(QStringLiteral("helpWindow"));
        window_->setWindowTitle(QString(Texts::kHelpCaption));
        window_->setOpenExternalLinks(false);
        window_->resize(640, 600);
    }
    window_->setSource(QUrl::fromLocalFile(helpFile_));
    window_->show();
    window_->raise();
    window_->activateWindow();
}

bool HelpViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1 && !helpFile_.isEmpty()) {
        showHelp();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
