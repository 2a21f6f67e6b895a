#include "form1.h"

// Saving and opening model files and saving the view as a bitmap.

void Form1::mnuOpen_Click() {}
void Form1::mnuSave_Click() {}
void Form1::mnuSaveAs_Click() {}
void Form1::mnuBmp_Click() {}
