#include "form1.h"

#include <QLabel>
#include <QScrollBar>

// The depth tool, the whole-model transforms and the display position.

void Form1::DrawFrontView() {}
void Form1::Picture1_MouseDown(int, int, float, float) {}
void Form1::Picture1_MouseMove(int, int, float, float) {}
void Form1::Picture1_MouseUp(int, int, float, float) {}
void Form1::Command27_Click() {}
void Form1::mnuYarinaosi_Click() {}
void Form1::HScroll1_Change()
{
    Lslider->setText(QString::number(HScroll1->value()));
}
void Form1::mnuKaiten_Click() {}
void Form1::mnuSayuu_Click() {}
void Form1::Copl_Click() {}
void Form1::Copr_Click() {}
void Form1::Copu_Click() {}
void Form1::Copd_Click() {}
