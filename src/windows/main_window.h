#pragma once

#include "model.h"
#include "renderer.h"

#include <QMainWindow>
#include <QPointer>

class Document;
class ViewState;
class LargeView;
class PictureBox;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;

// The main window: the user captures a picture, gives it depth, turns and
// moves the relief, and saves it, opens it or shows the help from here.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // `capturePicture` is what the capture window shows first.
    MainWindow(Document &document, const QString &capturePicture, QWidget *parent = nullptr);
    ~MainWindow() override;

    ViewState &viewState() const { return *viewState_; }

    // Opens a model file as the open dialog does, telling the user of a failure.
    void openModelFile(const QString &path);
    // The capture command on another picture than the one it shows first.
    void captureFrom(const QString &picture);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void redrawView();
    void showSelection();
    void showAngles();
    void showDepthValue(int value);
    void showAnimationRunning(bool running);

    void pressView(QPointF position, Qt::MouseButton button);
    void dragOverView(QPointF position);
    void releaseView();
    void addDepth();
    void quarterTurn();
    void mirror();
    void centre();

    void capture();
    void openModel();
    void save();
    void saveAs();
    void saveBitmap();
    void openRecentFile(const QString &path);
    void showRecentFiles();
    void showLargeView();
    void showHelpContents();
    void showAbout();
    void exitProgram();

private:
    void createControls();
    void createMenus();
    void connectDocument();
    void setTabOrder();
    QPushButton *addButton(const char *name, const char *caption, QRect geometry);
    bool saveModelTo(const QString &path);
    // The title for a model file, in the form a save or an open gives it.
    void showFileName(const QString &path, const char *suffix);
    // Asks about unsaved changes; false when the user would rather keep them.
    bool mayDiscardChanges();
    // Saves over the current file, or asks for a name while there is none; whether it saved.
    bool saveCurrentModel();
    // Puts a model file opened or saved first in the recent files.
    void rememberRecentFile(const QString &path);
    // A model file as 加工後のファイル開く opens it, any other file as a picture to capture.
    void openDropped(const QString &path);

    Document &document_;
    ViewState *viewState_;
    QString capturePicture_;
    ViewRenderer renderer_;

    PictureBox *view_ = nullptr;
    PictureBox *staging_ = nullptr;
    QLabel *turnLabel_ = nullptr;
    QLabel *tiltLabel_ = nullptr;
    QLabel *depthLabel_ = nullptr;
    QScrollBar *depthSlider_ = nullptr;
    QPushButton *applyDepthButton_ = nullptr;
    QPushButton *animationButton_ = nullptr;
    QTimer *animationTimer_ = nullptr;
    // Enabled while the program has a model.
    QList<QPushButton *> modelButtons_;
    QList<QAction *> modelActions_;
    QAction *eraseStrokeAction_ = nullptr;
    QMenu *recentMenu_ = nullptr;
    QList<QAction *> recentActions_;
    QPointer<LargeView> largeView_;
};
