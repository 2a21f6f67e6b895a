#include "form3.h"

#include "file_lists.h"
#include "form1.h"
#include "model_file_messages.h"
#include "platform.h"
#include "texts.h"

Form3::Form3(ProgramState &state, Form1 &mainWindow, QWidget *parent, PictureOpener openPicture)
    : QDialog(parent)
    , state_(state)
    , mainWindow_(mainWindow)
    , openPicture_(std::move(openPicture))
{
    setWindowTitle(QString(Texts::kOpenCaption));
    setFixedSize(245, 386);

    const FileLists lists
        = createFileLists(this, {8, 8, 225, 20}, {8, 40, 225, 174}, {8, 224, 225, 150});
    Drive1 = lists.drive;
    Dir1 = lists.folder;
    File1 = lists.file;

    connect(Drive1, &DriveList::driveChanged, this, &Form3::Drive1_Change);
    connect(Dir1, &FolderList::pathChanged, this, &Form3::Dir1_Change);
    connect(File1, &FileList::selectionChanged, this, &Form3::File1_Click);
}

void Form3::setPattern(const QString &pattern)
{
    File1->setPattern(pattern);
}

void Form3::Drive1_Change()
{
    // A drive that cannot be read is ignored: the lists keep the old folder.
    Dir1->setPath(Drive1->drive());
}

void Form3::Dir1_Change()
{
    File1->setPath(Dir1->path());
}

void Form3::File1_Click()
{
    const BusyPointer busy;
    const QString name = File1->fileName();
    const QString path = pathInFolder(File1->path(), name);
    if (state_.openMode.value() == 1) {
        if (openPicture_)
            openPicture_(path);
    } else {
        openModel(path, name);
    }
    accept();
}

void Form3::openModel(const QString &path, const QString &name)
{
    // Checked before anything changes: a bad file leaves the model, the
    // current file, the caption and the commands as they were.
    if (!loadModelReporting(this, state_, path))
        return;
    state_.currentFileName = path.toStdString();
    mainWindow_.setWindowTitle(name + QString(Texts::kOpenedCaptionSuffix));
    mainWindow_.enableModelCommands();
}
