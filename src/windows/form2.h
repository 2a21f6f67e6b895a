#pragma once

#include <QDialog>

class DriveList;
class FileList;
class FolderList;
class Form1;
class QLineEdit;
class QPushButton;

// The save dialog: a model file or a bitmap of the view, as saveMode says.
// Made afresh for every showing; it starts in the process's current folder.
class Form2 : public QDialog {
    Q_OBJECT

public:
    explicit Form2(Form1 &owner);

    void setPattern(const QString &pattern);
    void setTargetName(const QString &name);

    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void Command1_Click();

private:
    void saveModel(const QString &target);
    void saveBitmap(const QString &target);

    Form1 &owner_;
    DriveList *Drive1 = nullptr;
    FolderList *Dir1 = nullptr;
    FileList *File1 = nullptr;
    QLineEdit *txtTargetFile = nullptr;
    QPushButton *Command1 = nullptr;
};

// The target of a save: the folder, the name as typed and the extension,
// which is appended even when the name already ends with it.
QString saveTargetPath(const QString &folder, const QString &name, const QString &extension);
