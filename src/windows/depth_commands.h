#pragma once

#include <QObject>

class Document;
class QAction;
class QMenu;
class QWidget;

// 編集's depths by colour and by brightness, enabled while the model has points. Each asks
// for its values in a dialog, remembered between runs, and gives them to the document as one
// step.
class DepthCommands : public QObject {
    Q_OBJECT

public:
    // Adds the commands to `menu`; `window` is the parent of the dialogs.
    DepthCommands(Document &document, QWidget *window, QMenu *menu);

private slots:
    void enableWithPoints();
    void setDepthsByColour();
    void setDepthsByBrightness();

private:
    Document &document_;
    QWidget *window_;
    QAction *byColour_;
    QAction *byBrightness_;
};
