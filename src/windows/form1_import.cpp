#include "form1.h"

#include "form4.h"
#include "import.h"
#include "picture_box.h"
#include "platform.h"

// Opening the capture window and building the model from the staged picture.

void Form1::mnuBuhin_Click()
{
    state_.importReady = 0;
    Form4 capture(state_, *this, this);
    placeWindow(&capture);
    capture.exec();
    if (state_.importReady != 1)
        return;

    stageImport(state_, Picture2->surface());
    Picture2->update();
    BuildModelFromPicture();
    setFrontViewCaptions();
    RedrawModel();
}

void Form1::BuildModelFromPicture()
{
    BusyPointer busy;
    buildModelFromPicture(state_, Picture2->surface(), Picture1->surface());
}
