#include "form1.h"

// Opening the capture window and building the model from the staged picture.

void Form1::mnuBuhin_Click() {}
void Form1::BuildModelFromPicture() {}
