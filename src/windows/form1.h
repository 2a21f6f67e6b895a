#pragma once

#include "program_state.h"

#include <QMainWindow>

class PictureBox;
class QAction;
class QLabel;
class QPushButton;
class QScrollBar;
class QTimer;

// The main window: the model view, the staging picture of imports, the turn,
// position, animation and depth controls and the menus to every other window.
// Controls carry their names as object names, so tests find them by name.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(ProgramState &state, QWidget *parent = nullptr);
    ~Form1() override;

    ProgramState &state() { return state_; }
    PictureBox *picture1() const { return Picture1; }
    PictureBox *picture2() const { return Picture2; }

    // Turns the model by the angles in the captions of Lsu1 and Lsu2 and draws it.
    void RedrawModel();

    // Every command that needs a model, enabled by an import or an opened file.
    void enableModelCommands();
    void setYarinaosiEnabled(bool enabled);

    // Turn buttons and animation.
    void Cokl_Click();
    void Cokl2_Click();
    void Cokr_Click();
    void Cokr2_Click();
    void Coku_Click();
    void Coku2_Click();
    void Cokd_Click();
    void Cokd2_Click();
    void Cosyoumen_Click();
    void Coanime_Click();
    void Timer1_Timer();

    // Depth tool.
    void Picture1_MouseDown(int button, int shift, float x, float y);
    void Picture1_MouseMove(int button, int shift, float x, float y);
    void Picture1_MouseUp(int button, int shift, float x, float y);
    void Command27_Click();
    void mnuYarinaosi_Click();
    void HScroll1_Change();

    // Whole-model transforms and display position.
    void mnuKaiten_Click();
    void mnuSayuu_Click();
    void Copl_Click();
    void Copr_Click();
    void Copu_Click();
    void Copd_Click();

    // Import.
    void mnuBuhin_Click();
    void BuildModelFromPicture();

    // Files.
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void mnuBmp_Click();

    // Help, version and exit.
    void mnuMokuji_Click();
    void mnuVersion_Click();
    void mnuExit_Click();

private:
    void Form_Load();
    void createControls();
    void createMenus();
    void connectHandlers();
    void setTabOrder();
    void turnBy(QLabel *label, double degrees);
    void setFrontViewCaptions();
    void DrawFrontView();

    ProgramState &state_;

    PictureBox *Picture1 = nullptr;
    PictureBox *Picture2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Lsu1 = nullptr;
    QLabel *Lsu2 = nullptr;
    QLabel *Lslider = nullptr;
    QPushButton *Coku2 = nullptr;
    QPushButton *Cosyoumen = nullptr;
    QPushButton *Coku = nullptr;
    QPushButton *Cokl2 = nullptr;
    QPushButton *Cokl = nullptr;
    QPushButton *Cokr = nullptr;
    QPushButton *Cokr2 = nullptr;
    QPushButton *Cokd = nullptr;
    QPushButton *Cokd2 = nullptr;
    QPushButton *Copu = nullptr;
    QPushButton *Copl = nullptr;
    QPushButton *Copr = nullptr;
    QPushButton *Copd = nullptr;
    QPushButton *Command27 = nullptr;
    QPushButton *Coanime = nullptr;
    QScrollBar *HScroll1 = nullptr;
    QTimer *Timer1 = nullptr;

    QAction *mnuFile = nullptr;
    QAction *mnuBuhin = nullptr;
    QAction *mnuOpen = nullptr;
    QAction *mnuSave = nullptr;
    QAction *mnuSaveAs = nullptr;
    QAction *mnuBmp = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuYarinaosi = nullptr;
    QAction *mnuKaiten = nullptr;
    QAction *mnuSayuu = nullptr;
    QAction *mnuHelp = nullptr;
    QAction *mnuMokuji = nullptr;
    QAction *mnuVersion = nullptr;
};
