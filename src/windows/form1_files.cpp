#include "form1.h"

#include "form2.h"
#include "form3.h"
#include "model_file_messages.h"
#include "picture_box.h"
#include "platform.h"
#include "texts.h"

// Saving and opening model files and saving the view as a bitmap.

namespace {

void showSaveDialog(Form1 &owner, std::uint8_t mode, const char *caption, const char *pattern)
{
    owner.state().saveMode = mode;
    Form2 dialog(owner);
    dialog.setWindowTitle(QString(caption));
    dialog.setTargetName(QString(Texts::kDefaultFileName));
    dialog.setPattern(QString(pattern));
    placeWindow(&dialog);
    dialog.exec();
}

} // namespace

void Form1::mnuOpen_Click()
{
    state_.openMode.set(0);
    {
        Form3 dialog(state_, *this, this);
        dialog.setPattern(QStringLiteral("*.chs"));
        placeWindow(&dialog);
        dialog.exec();
    }
    // Whether or not a file was opened: back to the front view.
    Picture2->surface().Cls();
    Picture2->update();
    setFrontViewCaptions();
    RedrawModel();
}

void Form1::mnuSave_Click()
{
    if (state_.currentFileName.empty()) {
        mnuSaveAs_Click();
        return;
    }
    saveModelReporting(this, state_, QString::fromStdString(state_.currentFileName));
}

void Form1::mnuSaveAs_Click()
{
    showSaveDialog(*this, 0, Texts::kSaveModelCaption, "*.chs");
}

void Form1::mnuBmp_Click()
{
    showSaveDialog(*this, 1, Texts::kSaveBitmapCaption, "*.bmp");
}
