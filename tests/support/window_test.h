#pragma once

#include "application.h"
#include "document.h"
#include "view_state.h"
#include "large_view.h"
#include "main_window.h"
#include "picture_box.h"
#include "settings.h"
#include "same_picture.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

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

// Answers every message box that comes up while it lives, by pressing the button with
// `answer`'s text or else with the standard button `answer`, and keeps what was shown.
class MessageBoxes : public QObject {
public:
    struct Shown {
        QString title, text, buttonTexts;
    };
    QList<Shown> shown;

    explicit MessageBoxes(QVariant answer = QMessageBox::Ok)
        : answer_(std::move(answer))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (auto *box = qobject_cast<QMessageBox *>(watched); box && event->type() == QEvent::Show)
            QTimer::singleShot(0, box, [this, box] { answer(box); });
        return false;
    }

private:
    void answer(QMessageBox *box)
    {
        if (!box->isVisible())
            return;
        QStringList texts;
        for (QAbstractButton *button : box->buttons())
            texts << button->text();
        shown.push_back({box->windowTitle(), box->text(), texts.join(' ')});
        if (QAbstractButton *button = box->buttons().value(texts.indexOf(answer_.toString())))
            return button->click();
        box->done(answer_.toInt());
    }

    QVariant answer_;
};

// The title as the window system shows it, with the modified mark resolved.
inline QString shownTitle(const QWidget *window)
{
    return window->windowHandle()->title();
}

using Step = std::function<void(QDialog *)>;

// Runs each step on the next dialog that comes up while `open` runs and closes a dialog that a
// step leaves open; message boxes are left to MessageBoxes, the progress to itself. Gives the
// steps run.
inline int stepThrough(const std::function<void()> &open, const std::vector<Step> &steps)
{
    std::size_t next = 0;
    QPointer<QDialog> last;
    QTimer poll;
    poll.callOnTimeout([&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog == last || qobject_cast<QMessageBox *>(dialog))
            return;
        last = dialog;
        if (next < steps.size())
            steps[next++](dialog);
        else if (qobject_cast<QProgressDialog *>(dialog))
            return;
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start(10);
    open();
    return int(next);
}

// Runs `drive` on the modal window that `open` shows, and fails the test if no such window
// came. A window that `drive` leaves open, also after a failed check, is closed.
template<typename Window>
void withModal(const std::function<void()> &open, const std::function<void(Window *)> &drive)
{
    const Step step = [&](QDialog *dialog) { drive(qobject_cast<Window *>(dialog)); };
    QVERIFY2(stepThrough(open, {step}) == 1, "the expected modal window was not shown");
}

// Types a path into Qt's save dialog, under `filter` if one is given, and presses Save.
inline Step qtSaveAs(const QString &path, const QString &filter = {})
{
    return [=](QDialog *dialog) {
        if (auto *files = qobject_cast<QFileDialog *>(dialog); files && !filter.isEmpty()) {
            files->selectNameFilter(filter);
            emit files->filterSelected(filter); // as choosing it in the list does
        }
        child<QLineEdit>(dialog, "fileNameEdit")->setText(path);
        dialog->accept();
    };
}

// Types `name` into the save dialog that `action` opens and presses 保存.
inline void saveAs(QWidget *window, const char *action, const QString &name)
{
    withModal<QDialog>([&] { trigger(window, action); },
                       [&](QDialog *dialog) {
                           child<QLineEdit>(dialog, "name")->setText(name);
                           click(dialog, "saveButton");
                       });
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

// Settings go to a folder of each test program's own, emptied on request.
inline void clearSettings()
{
    QFile::remove(settingsPath());
}

inline QSettings settingsFile()
{
    return {settingsPath(), QSettings::IniFormat};
}

// A document and a shown main window over it, its animation ticked by the tests.
struct Program {
    explicit Program(const QString &capturePicture
                     = QStringLiteral(ZUVORAK_SOURCE_DIR "/resources/buhin.bmp"))
        : window(document, capturePicture)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the main window did not show");
        child<QTimer>(&window, "animationTimer")->stop();
    }
    Document document;
    MainWindow window;
};

// A fresh program for each test function: init() calls start(); the settings are emptied
// between the old program and the new.
class WithProgram {
protected:
    void start()
    {
        program_.reset();
        clearSettings();
        program_ = std::make_unique<Program>();
    }
    QWidget *window() const { return &program_->window; }
    Document &document() const { return program_->document; }
    ViewState &viewState() const { return program_->window.viewState(); }
    std::unique_ptr<Program> program_;
};

// The large view that the menu opens, resized unless the size is invalid, and shown.
inline LargeView *openLargeView(QWidget *window, QSize size = {kViewSize, kViewSize})
{
    trigger(window, "largeViewAction");
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *view = qobject_cast<LargeView *>(top); view && view->isVisible()) {
            if (size.isValid())
                view->resize(size);
            if (!QTest::qWaitForWindowExposed(view))
                qFatal("the large view did not show");
            QApplication::processEvents();
            return view;
        }
    qFatal("the large view did not open");
}

#define ZUVORAK_WINDOW_TEST_MAIN(TestClass)                                                        \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        setUpApplication(app);                                                                     \
        const QTemporaryDir settings; /* test programs run side by side */                         \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));                            \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
