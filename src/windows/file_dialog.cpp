#include "file_dialog.h"

#include "file_lists.h"
#include "platform.h"
#include "texts.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

FileDialog::FileDialog(QWidget *parent, const QString &pattern, QRect drive, QRect folder,
                       QRect file)
    : QDialog(parent)
    , drives_(new DriveList(this))
    , folders_(new FolderList(this))
    , files_(new FileList(this))
{
    // Window-modal, so the help stays usable while a dialog is open.
    setWindowModality(Qt::WindowModal);
    drives_->setObjectName(QStringLiteral("drives"));
    drives_->setGeometry(drive);
    folders_->setObjectName(QStringLiteral("folders"));
    folders_->setGeometry(folder);
    files_->setObjectName(QStringLiteral("files"));
    files_->setGeometry(file);
    files_->setPattern(pattern);
    QWidget::setTabOrder(drives_, folders_);
    QWidget::setTabOrder(folders_, files_);

    const QString start = dialogStartFolder();
    drives_->showDriveOf(start);
    folders_->setPath(start);
    files_->setPath(folders_->path());

    connect(drives_, &DriveList::driveChanged, this, &FileDialog::showChosenDrive);
    connect(folders_, &FolderList::pathChanged, this, &FileDialog::showChosenFolder);
    placeWindow(this);
}

void FileDialog::showChosenDrive()
{
    // A drive that cannot be read is ignored: the lists keep the old folder.
    folders_->setPath(drives_->drive());
}

void FileDialog::showChosenFolder()
{
    files_->setPath(folders_->path());
}

SaveDialog::SaveDialog(QWidget *parent, const QString &caption, const QString &extension)
    : FileDialog(parent, QLatin1Char('*') + extension, {16, 16, 249, 20}, {16, 48, 249, 118},
                 {16, 176, 249, 114})
    , extension_(extension)
    , name_(new QLineEdit(QString(Texts::kDefaultFileName), this))
{
    setWindowTitle(caption);
    setFixedSize(327, 346);
    name_->setObjectName(QStringLiteral("name"));
    name_->setGeometry(16, 304, 249, 25);
    auto *saveButton = new QPushButton(QString(Texts::kSaveButton), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    saveButton->setGeometry(272, 280, 49, 49);
    // Enter in the name box must not save.
    saveButton->setAutoDefault(false);
    saveButton->setDefault(false);
    QWidget::setTabOrder(files(), name_);
    QWidget::setTabOrder(name_, saveButton);

    connect(files(), &FileList::selectionChanged, this, &SaveDialog::takeSelectedName);
    connect(saveButton, &QPushButton::clicked, this, &SaveDialog::save);
}

QString SaveDialog::getTargetPath(QWidget *parent, const QString &caption, const QString &extension)
{
    SaveDialog dialog(parent, caption, extension);
    return dialog.exec() == QDialog::Accepted ? dialog.target_ : QString();
}

void SaveDialog::takeSelectedName()
{
    const QString name = files()->fileName();
    name_->setText(name.left(std::max<qsizetype>(0, name.size() - 4)));
}

void SaveDialog::save()
{
    const BusyCursor busy;
    // The user named the file: a name that ends with the extension, in any case, keeps it.
    const QString name = name_->text();
    const QString target
        = pathInFolder(folders()->path(),
                       name.endsWith(extension_, Qt::CaseInsensitive) ? name : name + extension_);
    const QFileInfo existing(target);
    if (existing.exists() && existing.size() > 0) {
        QMessageBox question(QMessageBox::Warning, QString(Texts::kProduct),
                             target + QString(Texts::kOverwriteQuestion),
                             QMessageBox::Yes | QMessageBox::No, this);
        question.setDefaultButton(QMessageBox::Yes);
        question.setWindowModality(Qt::WindowModal);
        if (question.exec() != QMessageBox::Yes) {
            reject();
            return;
        }
    }
    target_ = target;
    accept();
}

OpenDialog::OpenDialog(QWidget *parent, const QString &pattern)
    : FileDialog(parent, pattern, {8, 8, 225, 20}, {8, 40, 225, 174}, {8, 224, 225, 150})
{
    setWindowTitle(QString(Texts::kOpenCaption));
    setFixedSize(245, 386);
    connect(files(), &FileList::selectionChanged, this, &OpenDialog::choose);
}

QString OpenDialog::getOpenPath(QWidget *parent, const QString &pattern)
{
    OpenDialog dialog(parent, pattern);
    return dialog.exec() == QDialog::Accepted ? dialog.chosen_ : QString();
}

void OpenDialog::choose()
{
    chosen_ = pathInFolder(files()->path(), files()->fileName());
    accept();
}
