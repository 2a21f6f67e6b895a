#pragma once

#include <QString>

class QAction;
class QObject;
class QWidget;

// The busy pointer for the lifetime of the guard. Guards nest: the normal
// pointer comes back when the outermost one ends.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// Puts a secondary window at the place the primary screen's size gives it.
void placeWindow(QWidget *window);

// A menu command carrying a name as object name, so tests find it by name.
QAction *makeAction(QObject *parent, const char *name, const char *caption);

// The folder that holds the executable.
QString programFolder();

// A file the program ships beside itself, or in its share folder when installed.
QString shippedFile(const QString &name);

// The program's error box: title "エラーメッセージ", exclamation icon, OK.
void showError(QWidget *parent, const QString &text);
