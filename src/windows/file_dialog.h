#pragma once

#include <QDialog>

class DriveList;
class FileList;
class FolderList;

// The drive, folder and file lists that the save and open dialogs share.
// Every dialog is made afresh and starts in the process's current folder.
class FileDialog : public QDialog {
    Q_OBJECT

protected:
    FileDialog(QWidget *parent, const QString &pattern, QRect drive, QRect folder, QRect file);

    FolderList *folders() const { return folders_; }
    FileList *files() const { return files_; }

private slots:
    void showChosenDrive();
    void showChosenFolder();

private:
    DriveList *drives_;
    FolderList *folders_;
    FileList *files_;
};

// The save dialog: the user picks a folder, types a name and presses 保存.
// It asks before replacing a file; the caller writes the file.
class SaveDialog : public FileDialog {
    Q_OBJECT

public:
    SaveDialog(QWidget *parent, const QString &caption, const QString &extension);

    // The chosen target; empty when the user closed the dialog or did not
    // want an existing file replaced.
    static QString getTargetPath(QWidget *parent, const QString &caption, const QString &extension);

private slots:
    void takeSelectedName();
    void save();

private:
    QString extension_;
    QString target_;
    class QLineEdit *name_;
};

// The open dialog: choosing a file in the list chooses it at once.
class OpenDialog : public FileDialog {
    Q_OBJECT

public:
    OpenDialog(QWidget *parent, const QString &pattern);

    // The chosen file; empty when the user closed the dialog.
    static QString getOpenPath(QWidget *parent, const QString &pattern);

private slots:
    void choose();

private:
    QString chosen_;
};
