#include "form4.h"

// Filled in with the open dialog in picture mode, which calls showCapturePicture().
void Form4::mnuOpen_Click() {}
