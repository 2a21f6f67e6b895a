#include "form1.h"

#include "conversions.h"
#include "drawing.h"
#include "editing.h"
#include "picture_box.h"
#include "platform.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

// The depth tool, the whole-model transforms and the display position.

namespace {
constexpr double kPositionStep = 10.0;
}

void Form1::DrawFrontView()
{
    ::DrawFrontView(Picture1->surface(), state_);
    Picture1->update();
}

void Form1::Picture1_MouseDown(int button, int, float x, float y)
{
    if (button != 1)
        return;
    state_.strokeActive = 1;
    state_.strokeStartX.set(x);
    state_.strokeStartY = toInteger(y);
    mnuYarinaosi->setEnabled(true);
}

void Form1::Picture1_MouseMove(int, int, float x, float y)
{
    if (state_.strokeActive == 0)
        return;
    ::DrawFrontView(Picture1->surface(), state_);
    setFrontViewCaptions();
    state_.strokeEndX.set(x);
    state_.strokeEndY = toInteger(y);
    Picture1->surface().Line(static_cast<float>(state_.strokeStartX.value()), state_.strokeStartY,
                             static_cast<float>(state_.strokeEndX.value()), state_.strokeEndY,
                             kBlue);
    Picture1->update();
}

void Form1::Picture1_MouseUp(int, int, float, float)
{
    state_.strokeActive = 0;
    orderStrokeCorners(state_);
    Command27->setEnabled(true);
}

void Form1::Command27_Click()
{
    {
        BusyPointer busy;
        applyDepth(state_, static_cast<double>(HScroll1->value()));
        DrawFrontView();
    }
    Command27->setEnabled(false);
    mnuYarinaosi->setEnabled(false);
}

void Form1::mnuYarinaosi_Click()
{
    DrawFrontView();
    mnuYarinaosi->setEnabled(false);
}

void Form1::HScroll1_Change()
{
    Lslider->setText(QString::number(HScroll1->value()));
}

void Form1::mnuKaiten_Click()
{
    BusyPointer busy;
    setFrontViewCaptions();
    turnQuarter(state_);
    DrawFrontView();
}

void Form1::mnuSayuu_Click()
{
    BusyPointer busy;
    setFrontViewCaptions();
    mirrorLeftRight(state_);
    DrawFrontView();
}

void Form1::Copl_Click()
{
    setFrontViewCaptions();
    shiftModel(state_, Horizontal, -kPositionStep);
    DrawFrontView();
}

void Form1::Copr_Click()
{
    setFrontViewCaptions();
    shiftModel(state_, Horizontal, kPositionStep);
    DrawFrontView();
}

void Form1::Copu_Click()
{
    setFrontViewCaptions();
    shiftModel(state_, Vertical, kPositionStep);
    DrawFrontView();
}

void Form1::Copd_Click()
{
    setFrontViewCaptions();
    shiftModel(state_, Vertical, -kPositionStep);
    DrawFrontView();
}
