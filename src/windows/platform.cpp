#include "platform.h"

#include "texts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <cerrno>
#include <cstring>

BusyCursor::BusyCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

QPoint placementFor(QSize screenPixels)
{
    constexpr int kTwipsPerPixel = 15;
    const int w = screenPixels.width() * kTwipsPerPixel;
    const int h = screenPixels.height() * kTwipsPerPixel;
    return {(w / 2 - w / 4) / kTwipsPerPixel, (h / 4) / kTwipsPerPixel};
}

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

QString systemErrorText(int error)
{
    const char *text = nullptr;
    switch (error) {
    case ENOSPC:
        text = Texts::kSystemNoSpace;
        break;
    case EDQUOT:
        text = Texts::kSystemQuotaExceeded;
        break;
    case EFBIG:
        text = Texts::kSystemFileTooLarge;
        break;
    case EACCES:
        text = Texts::kSystemAccessDenied;
        break;
    case EPERM:
        text = Texts::kSystemNotPermitted;
        break;
    case EROFS:
        text = Texts::kSystemReadOnly;
        break;
    case ENAMETOOLONG:
        text = Texts::kSystemNameTooLong;
        break;
    case ENOENT:
        text = Texts::kSystemNoSuchEntry;
        break;
    case ENOTDIR:
        text = Texts::kSystemNotFolder;
        break;
    case EISDIR:
        text = Texts::kSystemIsFolder;
        break;
    case EIO:
        text = Texts::kSystemInputOutput;
        break;
    case EMFILE:
    case ENFILE:
        text = Texts::kSystemTooManyOpen;
        break;
    case ENOMEM:
        text = Texts::kSystemNoMemory;
        break;
    case EBUSY:
    case ETXTBSY:
        text = Texts::kSystemBusy;
        break;
    case ELOOP:
        text = Texts::kSystemLinkLoop;
        break;
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
    return QString(text);
}

QString pictureFailureText(const QString &path, const PictureResult &result, bool writing)
{
    QString reason;
    switch (result.error) {
    case PictureError::None:
        return {};
    case PictureError::NotFound:
        reason = QString(Texts::kReasonNotFound);
        break;
    case PictureError::NotRegularFile:
        reason = QString(Texts::kReasonNotRegularFile);
        break;
    case PictureError::TooLarge:
        reason = QString(Texts::kReasonTooLarge);
        break;
    case PictureError::Truncated:
        reason = QString(Texts::kReasonTruncated);
        break;
    case PictureError::Unreadable:
        reason = QString(Texts::kReasonUnreadable);
        break;
    case PictureError::ReadFailed:
        reason = QString(Texts::kReasonReadFailed);
        break;
    case PictureError::WriteFailed:
        reason = QString(Texts::kReasonWriteFailed);
        break;
    }
    if (result.systemError != 0)
        reason = systemErrorText(result.systemError);
    if (!result.detail.empty())
        reason += QStringLiteral(" (%1)").arg(QString::fromStdString(result.detail));
    return QString(writing ? Texts::kCannotWriteFile : Texts::kCannotReadFile)
        .arg(QDir::toNativeSeparators(path), reason);
}
