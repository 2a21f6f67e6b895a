#pragma once

#include "capture.h"
#include "import.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <optional>

class PictureBox;
class QAction;

// The capture window: the user shows a picture, drags a rectangle over it and
// imports what lies inside. Made afresh for every showing.
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
    void restorePicture();
    void doOver();
    void importSelection();
    void reportPendingFailure();

private:
    void createMenus();
    bool showPicture(const QString &path);

    PictureBox *pictureBox_ = nullptr;
    QAction *doOverAction_ = nullptr;
    QAction *importAction_ = nullptr;

    QImage picture_; // the decoded picture; null when none could be read
    QString pendingFailure_; // a failure to read the start picture, told once the window is up
    bool dragging_ = false;
    Selection selection_;
    bool tooLarge_ = false;
    std::optional<ImportGrid> taken_;
};
