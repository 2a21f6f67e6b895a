#include "application.h"
#include "form1.h"
#include "help_viewer.h"
#include "platform.h"
#include "test_support.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <memory>

// Help, the version box and exit.
class TestForm1Help : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void placementRule_data();
    void placementRule();
    void versionBox();
    void f1DoesNothingBeforeTheContentsCommand();
    void contentsCommandOpensHelpAndArmsF1();
    void missingHelpFileGivesAMessage();
    void exitEndsAtOnceWithoutClosingWindows();

private:
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<Form1> form_;
};

void TestForm1Help::initTestCase()
{
    // The help ships beside the executable; put it beside this test.
    QDir(programFolder()).mkpath(QStringLiteral("help"));
    const QString target = QDir(programFolder()).filePath(QStringLiteral("help/zuvorak.html"));
    QFile::remove(target);
    QVERIFY(QFile::copy(QStringLiteral(ZUVORAK_SOURCE_DIR "/resources/help/zuvorak.html"), target));
}

void TestForm1Help::init()
{
    state_ = std::make_unique<ProgramState>();
    form_ = std::make_unique<Form1>(*state_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestForm1Help::cleanup()
{
    setMessageHook({});
    if (QTextBrowser *help = HelpViewer::instance().window())
        help->close();
    form_.reset();
    state_.reset();
}

void TestForm1Help::placementRule_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("full HD") << QSize(1920, 1080) << QPoint(480, 270);
    // 1366 px = 20490 twips: 10245 - 5122 = 5123 twips, 341 px after truncation.
    QTest::newRow("odd width, truncating divisions") << QSize(1366, 768) << QPoint(341, 192);
    QTest::newRow("tiny screen") << QSize(3, 3) << QPoint(0, 0);
}

void TestForm1Help::placementRule()
{
    QFETCH(QSize, screen);
    QFETCH(QPoint, topLeft);
    QCOMPARE(placementFor(screen), topLeft);
}

void TestForm1Help::versionBox()
{
    QList<QPoint> places;
    for (int showing = 0; showing < 2; ++showing) {
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = true;
            places << box->pos();
            QCOMPARE(box->windowTitle(), QStringLiteral("バージョン情報"));
            QCOMPARE(box->size(), QSize(312, 96));
            auto *image = box->findChild<QLabel *>("Image1");
            QCOMPARE(image->geometry(), QRect(40, 24, 32, 32));
            QVERIFY(!image->pixmap().isNull());
            const struct {
                const char *name;
                const char *text;
                QPoint at;
            } labels[] = {{"Label1", "ZUVORAK", {112, 24}}, {"Label2", "バージョン3.0", {120, 48}}};
            for (const auto &expected : labels) {
                auto *label = box->findChild<QLabel *>(expected.name);
                QCOMPARE(label->text(), QString(expected.text));
                QCOMPARE(label->pos(), expected.at);
                QVERIFY(label->font().bold());
                // Nothing clipped, inside the box too.
                QVERIFY(label->width() >= label->sizeHint().width());
                QVERIFY(label->geometry().right() < box->width());
            }
            box->close();
        });
        form_->mnuVersion_Click();
        QVERIFY(seen);
    }
    QCOMPARE(places.size(), 2);
    QCOMPARE(places[0], places[1]);
    const QScreen *screen = QGuiApplication::primaryScreen();
    QCOMPARE(places[0], screen->geometry().topLeft() + placementFor(screen->size()));
}

void TestForm1Help::f1DoesNothingBeforeTheContentsCommand()
{
    QTest::keyClick(form_.get(), Qt::Key_F1);
    QApplication::processEvents();
    QVERIFY(!HelpViewer::instance().window());
}

void TestForm1Help::contentsCommandOpensHelpAndArmsF1()
{
    form_->mnuMokuji_Click();
    QTRY_VERIFY(HelpViewer::instance().window() && HelpViewer::instance().window()->isVisible());
    QTextBrowser *help = HelpViewer::instance().window();
    QVERIFY(help->toPlainText().contains(QStringLiteral("使い方の流れ")));
    help->close();
    QTRY_VERIFY(!HelpViewer::instance().window());

    // From now on F1 opens it from any window of the program.
    QDialog other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTest::keyClick(&other, Qt::Key_F1);
    QTRY_VERIFY(HelpViewer::instance().window() && HelpViewer::instance().window()->isVisible());
}

void TestForm1Help::missingHelpFileGivesAMessage()
{
    QStringList messages;
    setMessageHook([&](const MessageRequest &request) {
        messages << request.title + QLatin1Char('|') + request.text;
        return QMessageBox::Ok;
    });
    HelpViewer::instance().setHelpFile(QStringLiteral("/nonexistent/zuvorak.html"));
    QTest::keyClick(form_.get(), Qt::Key_F1);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].startsWith(QStringLiteral("エラーメッセージ|")));
    QVERIFY(messages[0].contains(QStringLiteral("/nonexistent/zuvorak.html")));
    QVERIFY(!HelpViewer::instance().window());
}

void TestForm1Help::exitEndsAtOnceWithoutClosingWindows()
{
    int closeEvents = 0;
    struct CloseCounter : QObject {
        int &count;
        explicit CloseCounter(int &c) : count(c) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            count += event->type() == QEvent::Close;
            return false;
        }
    } counter(closeEvents);
    form_->installEventFilter(&counter);
    state_->pointCount = 5; // an unsaved model: nothing asks about it

    QTimer::singleShot(0, form_.get(), &Form1::mnuExit_Click);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // only if exit failed
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(closeEvents, 0);
    QVERIFY(!QApplication::activeModalWidget());
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestForm1Help test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_form1_help.moc"
