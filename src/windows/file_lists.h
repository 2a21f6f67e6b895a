#pragma once

#include <QComboBox>
#include <QListWidget>

// The path of a file in a folder with exactly one separator between them,
// also at the filesystem root ("/" and "a.chs" give "/a.chs"); empty without a folder.
QString pathInFolder(const QString &folder, const QString &name);

// Where a fresh file dialog opens: the process's current folder, or the home
// folder when the current one is gone or cannot be read.
QString dialogStartFolder();

// The roots of the mounted file systems, the filesystem root first.
class DriveList : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    QString drive() const { return currentText(); }
    // Chooses the drive that holds the folder, without a change signal.
    void showDriveOf(const QString &folder);

signals:
    void driveChanged();
};

// The current folder's ancestors, the folder itself, then its subfolders.
// A folder opens by double-click or Enter; one that cannot be read is ignored.
class FolderList : public QListWidget {
    Q_OBJECT

public:
    explicit FolderList(QWidget *parent = nullptr);

    QString path() const { return path_; }
    // False, and nothing changes, when the folder cannot be read.
    bool setPath(const QString &folder);

signals:
    void pathChanged();

private:
    void fill();

    QString path_;
};

// The files of one folder that match the pattern ("*.png *.jpg": any of them),
// hidden ones included, sorted by name; the temporary files of saves are never listed.
class FileList : public QListWidget {
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const { return path_; }
    void setPath(const QString &folder);
    void setPattern(const QString &pattern);
    // The selected file's name; empty while none is selected.
    QString fileName() const;

signals:
    // The user selected another file, by click or arrow key.
    void selectionChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill();

    QString path_;
    QString pattern_ = QStringLiteral("*.*");
    bool filling_ = false;
};
