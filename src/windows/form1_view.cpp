#include "form1.h"

// Turn buttons, animation and the redraw of the turned model.

void Form1::RedrawModel() {}
void Form1::turnBy(QLabel *, double) {}
void Form1::Cokl_Click() {}
void Form1::Cokl2_Click() {}
void Form1::Cokr_Click() {}
void Form1::Cokr2_Click() {}
void Form1::Coku_Click() {}
void Form1::Coku2_Click() {}
void Form1::Cokd_Click() {}
void Form1::Cokd2_Click() {}
void Form1::Cosyoumen_Click() {}
void Form1::Coanime_Click() {}
void Form1::Timer1_Timer() {}
