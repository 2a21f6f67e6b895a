#include "form1.h"

#include "form5.h"
#include "help_viewer.h"
#include "platform.h"

#include <QApplication>
#include <QKeyEvent>

// Help, version box and exit.

void Form1::mnuMokuji_Click()
{
    HelpViewer &help = HelpViewer::instance();
    help.setHelpFile(shippedFile(QStringLiteral("help/zuvorak.html")));
    // Pressing F1 opens the help from now on; the command presses it once.
    QWidget *target = QApplication::activeWindow() ? QApplication::activeWindow() : this;
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
}

void Form1::mnuVersion_Click()
{
    Form5 box(this);
    placeWindow(&box);
    box.exec();
}

void Form1::mnuExit_Click()
{
    // At once: no window is asked to close and nothing is saved.
    QCoreApplication::exit(0);
}
