#include "form4.h"

#include "form3.h"
#include "platform.h"

// The open dialog in picture mode: a chosen bitmap becomes the capture picture.
void Form4::mnuOpen_Click()
{
    state_.openMode.set(1);
    Form3 dialog(state_, mainWindow_, this,
                 [this](const QString &path) { return showCapturePicture(path); });
    dialog.setPattern(QStringLiteral("*.bmp"));
    placeWindow(&dialog);
    dialog.exec();
}
