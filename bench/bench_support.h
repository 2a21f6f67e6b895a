#pragma once

#include "document.h"
#include "main_window.h"
#include "model.h"
#include "picture_box.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

#include <cmath>
#include <random>

// The full 100000 points: a relief in the size of a capture, depths 0 to 100,
// a few coordinates exactly 0.
inline Model fullModel()
{
    Model model;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-95, 95);
    std::uniform_int_distribution<int> depth(0, 100);
    for (std::int32_t i = 0; i < kMaxPoints; ++i) {
        model.points.push_back(
            {double(depth(random)), double(coordinate(random)), double(coordinate(random))});
        model.colours.push_back(Colour(random() & 0x00FFFFFF));
    }
    return model;
}

// A shown main window holding a full model.
struct FullModelWindow {
    Document document;
    MainWindow window {document, QString()};
    QWidget *view = window.findChild<QWidget *>(QStringLiteral("view"));

    FullModelWindow()
    {
        document.importModel(fullModel());
        window.show();
        QApplication::processEvents();
    }
    void click(const char *button)
    {
        window.findChild<QPushButton *>(QString(button))->click();
        view->repaint();
    }
    void trigger(const char *action)
    {
        window.findChild<QAction *>(QString(action))->trigger();
        view->repaint();
    }
};

// A left-button mouse event on a picture box at a point of its drawing area.
inline void sendMouse(QWidget *box, QEvent::Type type, QPointF at)
{
    const QPointF local = at + QPointF(PictureBox::kBorder, PictureBox::kBorder);
    QMouseEvent event(type, local, box->mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
    QApplication::sendEvent(box, &event);
}
