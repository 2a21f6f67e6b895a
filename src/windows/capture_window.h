#pragma once

#include "capture.h"
#include "import.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <optional>
#include <vector>

class PictureBox;
class QAction;
class QScrollArea;
class QTimer;

// The capture window: the user shows a picture, drags a rectangle over it and
// imports what lies inside. A picture larger than the drawing area scrolls;
// positions are always in picture pixels. Made afresh for every showing.
class CaptureWindow : public QDialog {
    Q_OBJECT

public:
    CaptureWindow(const QString &startPicture, QWidget *parent = nullptr);
    ~CaptureWindow() override;

    // What the import took; nothing when the user left without importing.
    const std::optional<ImportGrid> &taken() const { return taken_; }

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void startSelection(QPointF position, Qt::MouseButton button);
    void dragSelection(QPointF position);
    void endSelection(QPointF position);
    void openPicture();
    void doOver();
    void importSelection();
    void importReduced();
    void selectAll();
    void reportPendingFailure();
    void autoScroll();

private:
    void createMenus();
    bool showPicture(const QString &path);
    void setPicture(QImage picture);
    void drawOutline();
    void eraseOutline();
    void followPointer(QPointF position);
    void enableImport();

    QScrollArea *scroll_ = nullptr;
    PictureBox *pictureBox_ = nullptr;
    QAction *doOverAction_ = nullptr;
    QAction *importAction_ = nullptr;
    QAction *reduceAction_ = nullptr;
    QTimer *autoScroll_ = nullptr;

    QString pendingFailure_; // a failure to read the start picture, told once the window is up
    bool dragging_ = false;
    QPoint pointer_; // where the drag's pointer is on the screen
    Selection selection_;
    QSize pictureSize_;
    // The pixels under the outline drawn on the surface, where they were.
    struct Kept {
        QPoint at;
        QImage pixels;
    };
    std::vector<Kept> underOutline_;
    std::optional<ImportGrid> taken_;
};
