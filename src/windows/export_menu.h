#pragma once

#include <QMenu>

class ViewState;

// ファイル → 書き出し: files made from the model for other programs (the
// ExportCommands) and the turntable animation for people without ZUVORAK.
// Enabled while the model has points.
class ExportMenu : public QMenu {
    Q_OBJECT

public:
    // `window` owns the dialogs and messages.
    ExportMenu(ViewState &viewState, QWidget *window);

private slots:
    void enableWithPoints();
    void exportTurntable();

private:
    ViewState &viewState_;
    QWidget *window_;
    QAction *turntableAction_ = nullptr;
};
