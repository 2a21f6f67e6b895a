#include "form2.h"

#include "file_lists.h"
#include "form1.h"
#include "model_file_messages.h"
#include "picture_box.h"
#include "platform.h"
#include "texts.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

QString saveTargetPath(const QString &folder, const QString &name, const QString &extension)
{
    return pathInFolder(folder, name + extension);
}

Form2::Form2(Form1 &owner)
    : QDialog(&owner)
    , owner_(owner)
{
    setFixedSize(327, 346);

    const FileLists lists
        = createFileLists(this, {16, 16, 249, 20}, {16, 48, 249, 118}, {16, 176, 249, 114});
    Drive1 = lists.drive;
    Dir1 = lists.folder;
    File1 = lists.file;
    txtTargetFile = new QLineEdit(this);
    txtTargetFile->setObjectName(QStringLiteral("txtTargetFile"));
    txtTargetFile->setGeometry(16, 304, 249, 25);
    Command1 = new QPushButton(QString(Texts::kSaveButton), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(272, 280, 49, 49);
    // Enter in the name box must not save.
    Command1->setAutoDefault(false);
    Command1->setDefault(false);

    QWidget::setTabOrder(File1, txtTargetFile);
    QWidget::setTabOrder(txtTargetFile, Command1);

    connect(Drive1, &DriveList::driveChanged, this, &Form2::Drive1_Change);
    connect(Dir1, &FolderList::pathChanged, this, &Form2::Dir1_Change);
    connect(File1, &FileList::selectionChanged, this, &Form2::File1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
}

void Form2::setPattern(const QString &pattern)
{
    File1->setPattern(pattern);
}

void Form2::setTargetName(const QString &name)
{
    txtTargetFile->setText(name);
}

void Form2::Drive1_Change()
{
    // A drive that cannot be read is ignored: the lists keep the old folder.
    Dir1->setPath(Drive1->drive());
}

void Form2::Dir1_Change()
{
    File1->setPath(Dir1->path());
}

void Form2::File1_Click()
{
    const QString name = File1->fileName();
    txtTargetFile->setText(name.left(std::max<qsizetype>(0, name.size() - 4)));
}

void Form2::Command1_Click()
{
    const BusyPointer busy;
    const bool model = owner_.state().saveMode == 0;
    const QString target
        = saveTargetPath(Dir1->path(), txtTargetFile->text(), QString(model ? ".chs" : ".bmp"));

    const QFileInfo existing(target);
    if (existing.exists() && existing.size() > 0) {
        const MessageRequest question {target + QString(Texts::kOverwriteQuestion),
                                       QString(Texts::kProduct), QMessageBox::Warning,
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes};
        if (showMessage(this, question) != QMessageBox::Yes) {
            accept();
            return;
        }
    }
    if (model)
        saveModel(target);
    else
        saveBitmap(target);
    accept();
}

void Form2::saveModel(const QString &target)
{
    ProgramState &state = owner_.state();
    if (!saveModelReporting(this, state, target))
        return;
    state.currentFileName = target.toStdString();
    owner_.setWindowTitle(txtTargetFile->text() + QString(Texts::kSavedCaptionSuffix));
}

void Form2::saveBitmap(const QString &target)
{
    PictureResult result;
    {
        const BusyPointer busy;
        result = owner_.picture1()->surface().SavePicture(target.toStdString());
    }
    if (!result.ok())
        showError(this, pictureFailureText(target, result, true));
}
