#include "file_lists.h"

#include "file_access.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>
#include <QTimer>

QString pathInFolder(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return {};
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            roots << volume.rootPath();
    }
    roots.removeDuplicates();
    roots.removeAll(QDir::rootPath());
    roots.sort();
    roots.prepend(QDir::rootPath());
    addItems(roots);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
}

void DriveList::showDriveOf(const QString &folder)
{
    const int index = findText(QStorageInfo(folder).rootPath());
    const QSignalBlocker quiet(this);
    setCurrentIndex(index >= 0 ? index : 0);
}

FolderList::FolderList(QWidget *parent)
    : QListWidget(parent)
{
    // Refilled after the activation has been handled: the list's items must
    // outlive every slot that receives the activated one.
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const QString folder = item->data(Qt::UserRole).toString();
        QTimer::singleShot(0, this, [this, folder] { setPath(folder); });
    });
}

bool FolderList::setPath(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !QDir(folder).isReadable())
        return false;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    if (path == path_)
        return true;
    path_ = path;
    fill();
    emit pathChanged();
    return true;
}

void FolderList::fill()
{
    clear();
    QStringList chain;
    for (QDir dir(path_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }

    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto add = [this](const QIcon &icon, const QString &path, int depth) {
        const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
        auto *item = new QListWidgetItem(icon, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, path);
        item->setToolTip(path);
    };
    for (int depth = 0; depth < chain.size(); ++depth)
        add(open, chain[depth], depth);
    const QFileInfoList subfolders = QDir(path_).entryInfoList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo &sub : subfolders)
        add(closed, sub.absoluteFilePath(), int(chain.size()));
    setCurrentRow(int(chain.size()) - 1);
}

FileList::FileList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Selection rather than the current row: focus alone may set a current row.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_ && !selectedItems().isEmpty())
            emit selectionChanged();
    });
}

void FileList::setPath(const QString &folder)
{
    path_ = folder;
    fill();
}

void FileList::setPattern(const QString &pattern)
{
    pattern_ = pattern;
    fill();
}

void FileList::keyPressEvent(QKeyEvent *event)
{
    // Focus may set a current row without selecting it; the first arrow key
    // then selects that row instead of skipping past it.
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (arrow && selectedItems().isEmpty() && count() > 0) {
        setCurrentRow(std::max(currentRow(), 0));
        return;
    }
    QListWidget::keyPressEvent(event);
}

QString FileList::fileName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void FileList::fill()
{
    filling_ = true;
    clear();
    if (!path_.isEmpty()) {
        // Hidden files too: a model saved under the empty name is ".chs".
        const QStringList names = QDir(path_).entryList(
            QDir::nameFiltersFromString(pattern_), QDir::Files | QDir::Hidden,
            QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
        for (const QString &name : names)
            if (!isTemporaryFileName(name.toStdString()))
                addItem(name);
    }
    filling_ = false;
}

QString dialogStartFolder()
{
    const QString current = QDir::currentPath();
    const QFileInfo info(current);
    if (!current.isEmpty() && info.isDir() && info.isReadable() && QDir(current).isReadable())
        return current;
    return QDir::homePath();
}
