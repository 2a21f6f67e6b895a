#pragma once

#include <QDialog>

class QLabel;

// The version box: the icon, the product name and the version. Closed with
// its close box.
class Form5 : public QDialog {
    Q_OBJECT

public:
    explicit Form5(QWidget *parent = nullptr);

private:
    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
};
