#pragma once

#include <QDialog>

// The version box: the icon, the product name and the version. The user
// closes it with its close box.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);
};
