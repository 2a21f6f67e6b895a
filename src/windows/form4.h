#pragma once

#include "capture.h"
#include "program_state.h"

#include <QDialog>
#include <QImage>
#include <QString>

class Form1;
class PictureBox;
class QAction;

// The capture window: shows a bitmap, lets the user drag a rectangle on it
// and hands the rectangle's pixels to the main window. Created afresh for
// every showing; controls carry their names as object names.
class Form4 : public QDialog {
    Q_OBJECT

public:
    Form4(ProgramState &state, Form1 &mainWindow, QWidget *parent = nullptr);
    ~Form4() override;

    // Where loading looks for its first picture; empty means the shipped
    // "buhin.bmp". Tests and benchmarks point it at pictures they generate.
    static void setStartPicture(const QString &path);

    // Shows the bitmap at `path` and makes it the capture picture. A picture
    // that cannot be read is reported and the previous one stays.
    bool showCapturePicture(const QString &path);

    PictureBox *picture1() const { return Picture1; }
    Selection selection() const { return {selStartX, selStartY, selEndX, selEndY}; }
    bool isDragging() const { return selDragging != 0; }
    bool isSelectionTooLarge() const { return selTooLarge != 0; }

    void Picture1_MouseDown(int button, int shift, float x, float y);
    void Picture1_MouseMove(int button, int shift, float x, float y);
    void Picture1_MouseUp(int button, int shift, float x, float y);
    void mnuOpen_Click();
    void mnuExit_Click();
    void mnuYarinaosi_Click();
    void mnuTorikomi_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void createControls();
    void createMenus();
    void connectHandlers();
    void restorePicture();
    void reportPendingFailure();

    ProgramState &state_;
    Form1 &mainWindow_;
    QImage picture_; // the decoded capture picture; null when none could be read
    QString pendingFailure_; // a load failure, told once the window is on screen

    PictureBox *Picture1 = nullptr;
    QAction *mnuFile = nullptr;
    QAction *mnuOpen = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuYarinaosi = nullptr;
    QAction *mnuTorikomi = nullptr;

    std::uint8_t selDragging = 0;
    std::int16_t selStartX = 0;
    std::int16_t selStartY = 0;
    std::int16_t selEndX = 0;
    std::int16_t selEndY = 0;
    std::uint8_t selTooLarge = 0;
};
