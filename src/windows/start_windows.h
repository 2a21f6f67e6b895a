#pragma once

#include <QString>

class MainWindow;

// The windows, opening the model file or the picture that a file manager
// passed as the one argument.
int startWindows(int &argc, char **argv);

// A model file opens as the open dialog opens it; anything else is taken for
// a picture and shown in the capture window.
void openStartFile(MainWindow &window, const QString &path);
