#pragma once

#include "surface.h"

#include <QMessageBox>
#include <QString>

#include <functional>

class QAction;
class QWidget;

// The screen-wide busy pointer: 11 = busy, 0 = normal. Setting it is not
// nested: one call to 0 restores the normal pointer however often 11 was set.
inline constexpr int kBusyPointer = 11;
inline constexpr int kNormalPointer = 0;
void setMousePointer(int pointer);

// Busy for the lifetime of the guard, normal again afterwards.
class BusyPointer {
public:
    BusyPointer() { setMousePointer(kBusyPointer); }
    ~BusyPointer() { setMousePointer(kNormalPointer); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

// Twips per pixel of the window system the positions were designed in.
inline constexpr int kTwipsPerPixel = 15;

// Where a secondary window goes: left W div 2 - W div 4, top H div 4, with
// W and H the screen size in twips. Returned in pixels.
QPoint placementFor(QSize screenPixels);
void placeWindow(QWidget *window);

// A menu command carrying its name as object name, so tests find it by name.
QAction *makeAction(QObject *parent, const char *name, const char *caption);

// The folder that holds the executable.
QString programFolder();

// A file the program ships beside itself, or in its share folder when installed.
QString shippedFile(const QString &name);

struct MessageRequest {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Tests answer message boxes through this hook instead of a modal box.
using MessageHook = std::function<QMessageBox::StandardButton(const MessageRequest &)>;
void setMessageHook(MessageHook hook);

QMessageBox::StandardButton showMessage(QWidget *parent, const MessageRequest &request);

// The program's error box: title "エラーメッセージ", exclamation icon, OK.
void showError(QWidget *parent, const QString &text);

// The user's words for a system error number (errno); the system's own for rare ones.
QString systemErrorText(int error);

// The user's words for a picture that could not be read or written.
QString pictureFailureText(const QString &path, const PictureResult &result, bool writing);
