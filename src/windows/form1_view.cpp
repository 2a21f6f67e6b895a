#include "form1.h"

#include "conversions.h"
#include "picture_box.h"
#include "platform.h"
#include "renderer.h"
#include "texts.h"

#include <QLabel>
#include <QPushButton>

#include <array>

// Turn buttons, animation and the redraw of the turned model.

namespace {

struct KeyFrame {
    int turn; // caption of Lsu1
    int tilt; // caption of Lsu2
};

// Around the edge of the square from -20 to 20 degrees on each axis: right
// edge, up, across the top, down the left edge, along the bottom, then
// diagonally back to the front view.
constexpr std::array<KeyFrame, 36> kKeyFrames = {{
    {0, 0},     {5, 0},     {10, 0},    {15, 0},   {20, 0},  {20, 5},   {20, 10},   {20, 15},
    {20, 20},   {15, 20},   {10, 20},   {5, 20},   {0, 20},  {-5, 20},  {-10, 20},  {-15, 20},
    {-20, 20},  {-20, 15},  {-20, 10},  {-20, 5},  {-20, 0}, {-20, -5}, {-20, -10}, {-20, -15},
    {-20, -20}, {-15, -20}, {-10, -20}, {-5, -20}, {0, -20}, {5, -20},  {10, -20},  {15, -20},
    {20, -20},  {15, -15},  {10, -10},  {5, -5},
}};

double captionValue(const QLabel *label)
{
    return leadingNumber(label->text().toStdString());
}

} // namespace

void Form1::RedrawModel()
{
    BusyPointer busy;
    renderView(state_, Picture1->surface(), captionValue(Lsu1), captionValue(Lsu2));
    Picture1->update();
}

void Form1::turnBy(QLabel *label, double degrees)
{
    // Never wrapped: 73 steps of 5 read "365", and the view uses 365 degrees.
    const double angle = captionValue(label) + degrees;
    label->setText(QString::fromStdString(shortestDecimal(angle)));
    RedrawModel();
}

void Form1::Cokl_Click()
{
    turnBy(Lsu1, 1.0);
}

void Form1::Cokl2_Click()
{
    turnBy(Lsu1, 5.0);
}

void Form1::Cokr_Click()
{
    turnBy(Lsu1, -1.0);
}

void Form1::Cokr2_Click()
{
    turnBy(Lsu1, -5.0);
}

void Form1::Coku_Click()
{
    turnBy(Lsu2, 1.0);
}

void Form1::Coku2_Click()
{
    turnBy(Lsu2, 5.0);
}

void Form1::Cokd_Click()
{
    turnBy(Lsu2, -1.0);
}

void Form1::Cokd2_Click()
{
    turnBy(Lsu2, -5.0);
}

void Form1::Cosyoumen_Click()
{
    setFrontViewCaptions();
    RedrawModel();
}

void Form1::Coanime_Click()
{
    // The phase is kept, so a restart goes on from the frame after the last one shown.
    if (state_.animationOn == 0) {
        state_.animationOn = 1;
        Coanime->setText(QString(Texts::kStopAnimation));
    } else {
        state_.animationOn = 0;
        Coanime->setText(QString(Texts::kAnimation));
    }
}

void Form1::Timer1_Timer()
{
    if (state_.animationOn != 1)
        return;
    const auto phase = static_cast<std::size_t>(state_.animationPhase) % kKeyFrames.size();
    Lsu1->setText(QString::number(kKeyFrames[phase].turn));
    Lsu2->setText(QString::number(kKeyFrames[phase].tilt));
    RedrawModel();
    state_.animationPhase = static_cast<std::int16_t>((phase + 1) % kKeyFrames.size());
}
