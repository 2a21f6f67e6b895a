#pragma once

class QApplication;

// Application-wide look: the program's icon and a Japanese font at the size
// the window layouts were designed for.
void setUpApplication(QApplication &app);
