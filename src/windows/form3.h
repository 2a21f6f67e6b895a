#pragma once

#include "program_state.h"

#include <QDialog>

#include <functional>

class DriveList;
class FileList;
class FolderList;
class Form1;

// The open dialog: selecting a file opens it at once, as a model for the main
// window (openMode 0) or as a picture for the capture window (openMode 1).
// Made afresh for every showing; it starts in the process's current folder.
class Form3 : public QDialog {
    Q_OBJECT

public:
    // Shows a picture in the capture window; reports its own failures.
    using PictureOpener = std::function<bool(const QString &path)>;

    Form3(ProgramState &state, Form1 &mainWindow, QWidget *parent, PictureOpener openPicture = {});

    void setPattern(const QString &pattern);

    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();

private:
    void openModel(const QString &path, const QString &name);

    ProgramState &state_;
    Form1 &mainWindow_;
    PictureOpener openPicture_;
    DriveList *Drive1 = nullptr;
    FolderList *Dir1 = nullptr;
    FileList *File1 = nullptr;
};
