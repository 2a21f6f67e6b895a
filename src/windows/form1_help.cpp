#include "form1.h"

// Help, version box and exit.

void Form1::mnuMokuji_Click() {}
void Form1::mnuVersion_Click() {}
void Form1::mnuExit_Click() {}
