#pragma once

#include "application.h"
#include "document.h"
#include "large_view.h"
#include "literal_turn.h"
#include "main_window.h"
#include "picture_box.h"
#include "same_picture.h"
#include "settings.h"
#include "view_state.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <random>

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

inline void dragOver(QWidget *box, QPoint from, const QList<QPoint> &through,
                     Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(box, button, {}, inBox(from));
    for (const QPoint at : through)
        QTest::mouseMove(box, inBox(at));
    QTest::mouseRelease(box, button, {}, inBox(through.last()));
}

inline QImage shown(const QObject *window, const char *box)
{
    return child<PictureBox>(window, box)->surface().image();
}

// How many MessageBoxes live and stepThrough calls run: a modal window that neither
// answers fails the test (see Unanswered).
inline int answering = 0, stepping = 0;

// Answers every message box that comes up while it lives, by pressing the button with
// `answer`'s text or else the standard button `answer`, and keeps what was shown.
class MessageBoxes : public QObject {
public:
    struct Shown {
        QString title, text, buttonTexts;
    };
    QList<Shown> shown;
    QStringList texts; // as shown

    explicit MessageBoxes(QVariant answer = QMessageBox::Ok)
        : answer_(std::move(answer))
    {
        qApp->installEventFilter(this);
        ++answering;
    }
    ~MessageBoxes() override { --answering; }

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
        QStringList buttons;
        for (QAbstractButton *button : box->buttons())
            buttons << button->text();
        shown.push_back({box->windowTitle(), box->text(), buttons.join(' ')});
        texts << box->text();
        QAbstractButton *button = box->buttons().value(buttons.indexOf(answer_.toString()));
        if (button || (button = box->button(QMessageBox::StandardButton(answer_.toInt()))))
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

// Runs each step on the next dialog that `open` brings up, closing any that a step leaves open;
// message boxes are left to MessageBoxes, the progress to itself. Gives the steps run.
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
    ++stepping;
    open();
    --stepping;
    return int(next);
}

inline int stepThrough(const QObject *window, const char *action, const std::vector<Step> &steps)
{
    return stepThrough([&] { trigger(window, action); }, steps);
}

// Runs `drive` on the modal window that `open` (or `window`'s `action`) shows, failing the test if
// none came; a window that `drive` leaves open, also after a failed check, is closed.
inline void withModal(const std::function<void()> &open, const Step &drive)
{
    QVERIFY2(stepThrough(open, {drive}) == 1, "the expected modal window was not shown");
}
inline void withModal(const QObject *window, const char *action, const Step &drive)
{
    withModal([&] { trigger(window, action); }, drive);
}

// Where a dialog's field keeps what the user chose: a list's index, or else the widget's user
// property (a number, a text, whether checked).
inline QMetaProperty chosen(QObject *field)
{
    const QMetaObject *meta = field->metaObject();
    return qobject_cast<QComboBox *>(field) ? meta->property(meta->indexOfProperty("currentIndex"))
                                            : meta->userProperty();
}

// Sets a dialog's fields named in "name=value ...": a check box or radio button is clicked to 1
// or 0, any other field takes the value.
inline void fill(QDialog *dialog, const QString &fields)
{
    for (const QString &field : fields.split(' ', Qt::SkipEmptyParts)) {
        QObject *widget = child<QObject>(dialog, qPrintable(field.section('=', 0, 0)));
        const QString value = field.section('=', 1);
        if (auto *box = qobject_cast<QAbstractButton *>(widget); !box)
            QVERIFY2(chosen(widget).write(widget, value), qPrintable(field));
        else if (box->isChecked() != (value == "1"))
            box->click();
    }
}

// The same fields as the dialog shows them, in fill's words.
inline QString fields(QDialog *dialog, const QString &names)
{
    QStringList shown;
    for (const QString &field : names.split(' ', Qt::SkipEmptyParts)) {
        const QString name = field.section('=', 0, 0);
        QObject *widget = child<QObject>(dialog, qPrintable(name));
        const QVariant value = chosen(widget).read(widget);
        shown << name + '='
                     + (value.typeId() == QMetaType::Bool ? QString::number(value.toBool())
                                                          : value.toString());
    }
    return shown.join(' ');
}

inline Step options(const QString &fields, bool accept = true)
{
    return [=](QDialog *dialog) {
        fill(dialog, fields);
        accept ? dialog->accept() : dialog->reject();
    };
}

inline void qtChoose(QDialog *dialog, const QString &filter)
{
    static_cast<QFileDialog *>(dialog)->selectNameFilter(filter);
    emit static_cast<QFileDialog *>(dialog)->filterSelected(filter); // as the list does
}

inline Step qtSaveAs(const QString &path, const QString &filter = {})
{
    return [=](QDialog *dialog) {
        if (!filter.isEmpty())
            qtChoose(dialog, filter);
        child<QLineEdit>(dialog, "fileNameEdit")->setText(path);
        dialog->accept();
    };
}

inline Step saveAs(const QString &name)
{
    return [=](QDialog *dialog) {
        child<QLineEdit>(dialog, "name")->setText(name);
        click(dialog, "saveButton");
    };
}

// Drags from `from` to `to` over the picture of the capture window that `window` opens, `first`
// done first, then runs its command `then` (none: the close box). Gives whether the window stayed
// open, as it does refusing an import: without the outline, for another try.
inline bool captureDrag(
    QWidget *window, QPoint from, QPoint to, const char *then = "importAction",
    const Step &first = [](QDialog *) {})
{
    bool open = false;
    withModal(window, "captureAction", [&](QDialog *capture) {
        first(capture);
        const QImage before = shown(capture, "picture");
        dragOver(child(capture, "picture"), from, {to});
        if (!then)
            return;
        trigger(capture, then);
        open = capture->isVisible();
        QVERIFY(!open || shown(capture, "picture") == before);
    });
    return open;
}

// A fresh folder as the working folder, where the dialogs start; the working folder and HOME
// come back when it ends.
struct InFolder {
    InFolder() { QDir::setCurrent(dir.path()); }
    ~InFolder()
    {
        QDir::setCurrent(current);
        qputenv("HOME", home);
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    const QString current = QDir::currentPath();
    const QByteArray home = qgetenv("HOME");
    QTemporaryDir dir;
};

// Runs `start` in the application's event loop until something ends the loop or `limitMs`
// pass; whether something ended it. The timers die with the call, never firing into a later test.
inline bool endsAfter(const std::function<void()> &start, int limitMs = 2000)
{
    QObject timers;
    QTimer::singleShot(0, &timers, start);
    QTimer::singleShot(limitMs, &timers, [] { QCoreApplication::exit(1); });
    return QCoreApplication::exec() == 0;
}

// `count` points in six colours, seeded: coordinates in halves and quarters within 95 of the
// centre, among them zeros, so that a turn by 0 and no turn round some of them differently.
inline Model sixColours(int count, unsigned seed = 5)
{
    Model model;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> half(-190, 190);
    for (int i = 0; i < count; ++i) {
        model.points.push_back({half(random) / 4.0, half(random) / 2.0, half(random) / 2.0});
        model.colours.push_back(Colour(0x2a2a2a * (i % 6)));
    }
    model.points[0] = {0, 0, 0.5};
    return model;
}

inline const QString kStartPicture = QStringLiteral(ZUVORAK_SOURCE_DIR "/resources/buhin.bmp");

// A document and a shown main window over it, its animation ticked by the tests; given a model,
// with nothing unsaved to ask about.
struct Program {
    explicit Program(std::optional<Model> model = {}, const QString &capturePicture = kStartPicture)
        : window(document, capturePicture)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the main window did not show");
        child<QTimer>(&window, "animationTimer")->stop();
        if (model) {
            document.importModel(std::move(*model));
            document.history()->setClean();
        }
    }
    Document document;
    MainWindow window;
};

// A fresh program for each test function, started by init(); the settings are emptied between
// the old program and the new.
class WithProgram {
protected:
    void start(Model model, const QString &capturePicture = kStartPicture)
    {
        program_.reset();
        QFile::remove(settingsPath());
        program_ = std::make_unique<Program>(std::move(model), capturePicture);
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

// Fails the running test at once when a modal message box comes up that no MessageBoxes
// answers, or a dialog while no stepThrough drives one, and closes it: it would wait for ever.
class Unanswered : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QDialog *>(watched);
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (!dialog || event->type() != QEvent::Show || !dialog->isModal()
            || qobject_cast<QProgressDialog *>(dialog) || (box ? answering : stepping) > 0)
            return false;
        const QString what = box ? box->text() : dialog->metaObject()->className();
        if (!QTest::currentTestFailed())
            QTest::qFail(qPrintable("unanswered window " + dialog->windowTitle() + ": " + what),
                         __FILE__, __LINE__);
        QTimer::singleShot(0, dialog, &QDialog::reject);
        return false;
    }
};

// Whether `Test` has the test function that a command-line argument names ("name", "name:row").
template<typename Test> bool has(const char *argument)
{
    return Test::staticMetaObject.indexOfMethod(QByteArray(argument).split(':')[0] + "()") >= 0;
}

// Runs `Test` with the command line's test functions that are its own, and not at all when the
// command line names only those of other classes.
template<typename Test, typename... All> int runTest(int argc, char *argv[])
{
    std::vector<char *> arguments {argv[0]};
    bool others = false; // a test function of another class named
    for (int i = 1; i < argc; ++i)
        if (has<Test>(argv[i]) || !(has<All>(argv[i]) || ...))
            arguments.push_back(argv[i]);
        else
            others = true;
    if (others && std::none_of(arguments.begin(), arguments.end(), has<Test>))
        return 0;
    Test test;
    return QTest::qExec(&test, int(arguments.size()), arguments.data());
}

// Runs each test class in turn over one application, with settings in a folder of the
// program's own (test programs run side by side); fails when any class fails.
template<typename... Tests> int runWindowTests(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    Unanswered unanswered;
    app.installEventFilter(&unanswered);
    return (runTest<Tests, Tests...>(argc, argv) + ...);
}
#define ZUVORAK_WINDOW_TEST_MAIN(...)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        return runWindowTests<__VA_ARGS__>(argc, argv);                                            \
    }
