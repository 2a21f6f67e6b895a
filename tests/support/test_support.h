#pragma once

#include "application.h"
#include "form1.h"
#include "picture_box.h"
#include "platform.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// Where the BMP corpus and other inputs kept outside the repository live.
inline QString testDataDir()
{
    return QStringLiteral(ZUVORAK_TESTDATA);
}

// A menu item or a control of a window, by its name.
inline QAction *findAction(QObject *window, const QString &name)
{
    if (auto *action = window->findChild<QAction *>(name))
        return action;
    for (QMenuBar *bar : window->findChildren<QMenuBar *>())
        for (QAction *candidate : bar->actions())
            if (candidate->objectName() == name)
                return candidate;
    return nullptr;
}

inline bool isEnabled(QObject *window, const QString &name)
{
    if (QAction *action = findAction(window, name))
        return action->isEnabled();
    return window->findChild<QWidget *>(name)->isEnabled();
}

inline QString captionOf(QObject *window, const char *label)
{
    return window->findChild<QLabel *>(QString(label))->text();
}

// The commands that a model enables in the main window.
inline const QStringList &modelCommands()
{
    static const QStringList names = {
        "mnuKaiten", "mnuSayuu", "mnuSaveAs", "mnuSave", "mnuBmp",  "Coku",  "Cokd",
        "Cokl",      "Cokr",     "Coku2",     "Cokd2",   "Cokl2",   "Cokr2", "Cosyoumen",
        "Coanime",   "Copu",     "Copd",      "Copl",    "Copr"};
    return names;
}

// A fresh program state and main window for each test function.
struct MainWindow {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    std::unique_ptr<Form1> form = std::make_unique<Form1>(*state);

    QString caption(const char *label) const { return captionOf(form.get(), label); }
    bool enabled(const QString &name) const { return isEnabled(form.get(), name); }
    QRgb viewPixel(int x, int y) const { return form->picture1()->surface().image().pixel(x, y); }
    void setAngles(const char *l1, const char *l2)
    {
        form->findChild<QLabel *>("Lsu1")->setText(QString(l1));
        form->findChild<QLabel *>("Lsu2")->setText(QString(l2));
    }
    // Puts a model in place and enables the commands, as an import would.
    void setModel(std::initializer_list<std::pair<Coords, Colour>> points)
    {
        state->pointCount = 0;
        for (const auto &[coords, colour] : points) {
            state->modelPoints[state->pointCount] = coords;
            state->pointColors[state->pointCount++] = colour;
        }
        form->enableModelCommands();
    }
};

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

// Answers every message box with `answer` and keeps what was asked.
class MessageRecorder
{
public:
    explicit MessageRecorder(QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        setMessageHook([this, answer](const MessageRequest &request) {
            requests.push_back(request);
            return answer;
        });
    }
    ~MessageRecorder() { setMessageHook({}); }

    std::vector<MessageRequest> requests;
};

#define ZUVORAK_WINDOW_TEST_MAIN(TestClass)                                                        \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        setUpApplication(app);                                                                     \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
