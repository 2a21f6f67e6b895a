#pragma once

#include "application.h"
#include "document.h"
#include "main_window.h"
#include "picture_box.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

// Where the BMP corpus and other inputs kept outside the repository live.
inline QString testDataDir()
{
    return QStringLiteral(ZUVORAK_TESTDATA);
}

template<typename T = QWidget> T *child(const QObject *window, const char *name)
{
    T *found = window->findChild<T *>(QString(name));
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

inline void trigger(const QObject *window, const char *action)
{
    child<QAction>(window, action)->trigger();
}

inline void click(const QObject *window, const char *button)
{
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

inline QString text(const QObject *window, const char *label)
{
    return child<QLabel>(window, label)->text();
}

// A mouse event on a picture box at a point of its drawing area.
inline QPoint inBox(QPoint drawingArea)
{
    return drawingArea + QPoint(PictureBox::kBorder, PictureBox::kBorder);
}

inline void dragOver(QWidget *box, QPoint from, QPoint to)
{
    QTest::mousePress(box, Qt::LeftButton, {}, inBox(from));
    QTest::mouseMove(box, inBox(to));
    QTest::mouseRelease(box, Qt::LeftButton, {}, inBox(to));
}

inline QImage shown(const QObject *window, const char *box)
{
    return child<PictureBox>(window, box)->surface().image();
}

// Compares pictures; on a difference writes both next to the test log and
// says where the first differing pixel is.
inline bool samePicture(const QImage &actual, const QImage &expected, const QString &name)
{
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    if (a == e)
        return true;
    a.save(name + QStringLiteral("-actual.png"));
    e.save(name + QStringLiteral("-expected.png"));
    for (int y = 0; y < std::min(a.height(), e.height()); ++y)
        for (int x = 0; x < std::min(a.width(), e.width()); ++x)
            if (a.pixel(x, y) != e.pixel(x, y)) {
                qWarning("%s: first difference at (%d, %d): %08x, expected %08x", qPrintable(name),
                         x, y, a.pixel(x, y), e.pixel(x, y));
                return false;
            }
    qWarning("%s: sizes differ", qPrintable(name));
    return false;
}

// Answers every message box that comes up while it lives, and keeps what was shown.
class MessageBoxes : public QObject {
public:
    struct Shown {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QString buttonTexts;
    };

    explicit MessageBoxes(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : answer_(answer)
    {
        qApp->installEventFilter(this);
    }
    // Answers by pressing the button with this text.
    explicit MessageBoxes(const QString &buttonText)
        : answerText_(buttonText)
    {
        qApp->installEventFilter(this);
    }

    QList<Shown> shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show)
            QMetaObject::invokeMethod(
                this, [this, box = QPointer<QMessageBox>(box)] { answer(box); },
                Qt::QueuedConnection);
        return false;
    }

private:
    void answer(QMessageBox *box)
    {
        if (!box || !box->isVisible())
            return;
        QString buttonTexts;
        for (QAbstractButton *button : box->buttons())
            buttonTexts += button->text() + QLatin1Char(' ');
        QPushButton *byDefault = box->defaultButton();
        shown.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                         byDefault ? box->standardButton(byDefault) : QMessageBox::NoButton,
                         buttonTexts.trimmed()});
        for (QAbstractButton *button : box->buttons())
            if (!answerText_.isEmpty() && button->text() == answerText_)
                return button->click();
        box->done(answer_);
    }

    QMessageBox::StandardButton answer_ = QMessageBox::NoButton;
    QString answerText_;
};

// The title as the window system shows it, with the modified mark resolved.
inline QString shownTitle(const QWidget *window)
{
    return window->windowHandle()->title();
}

// Runs `drive` on the modal window that `open` shows, once it is up, and
// fails the test if no such window came. A window that `drive` leaves open,
// also after a failed check, is closed so that the test cannot hang.
template<typename Window>
void withModal(const std::function<void()> &open, const std::function<void(Window *)> &drive)
{
    bool driven = false;
    QTimer::singleShot(0, [&] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (auto *window = qobject_cast<Window *>(modal.data())) {
            drive(window);
            driven = true;
        }
        if (modal && modal->isVisible())
            modal->close();
    });
    open();
    QVERIFY2(driven, "the expected modal window was not shown");
}

// Runs the application's event loop until something ends it or `limitMs` pass;
// whether something ended it. The time limit dies with the call, so it never
// fires into a later test.
inline bool endsWithin(int limitMs)
{
    QObject limit;
    QTimer::singleShot(limitMs, &limit, [] { QCoreApplication::exit(1); });
    return QCoreApplication::exec() == 0;
}

// A document and a shown main window over it.
struct Program {
    explicit Program(const QString &capturePicture
                     = QStringLiteral(ZUVORAK_SOURCE_DIR "/resources/buhin.bmp"))
        : window(document, capturePicture)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the main window did not show");
    }
    Document document;
    MainWindow window;
};

#define ZUVORAK_WINDOW_TEST_MAIN(TestClass)                                                        \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        setUpApplication(app);                                                                     \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
