#include "help_viewer.h"
#include "test_support.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QScreen>

// Help, the version box and exit.
class TestForm1Help : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void placementRule_data();
    void placementRule();
    void versionBox();
    void contentsCommandOpensHelpAndArmsF1();
    void closingTheMainWindowEndsTheProgramWithHelpOpen();
    void missingHelpFileGivesAMessage();
    void exitEndsAtOnceWithoutClosingWindows();

private:
    std::unique_ptr<MainWindow> w_;
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
    w_ = std::make_unique<MainWindow>();
    w_->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_->form.get()));
}

void TestForm1Help::cleanup()
{
    if (QTextBrowser *help = HelpViewer::instance().window())
        help->close();
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
        withModal<QDialog>([this] { w_->form->mnuVersion_Click(); },
                           [&](QDialog *box) {
                               places << box->pos();
                               QCOMPARE(box->windowTitle(), QStringLiteral("バージョン情報"));
                               QCOMPARE(box->size(), QSize(312, 96));
                               auto *image = box->findChild<QLabel *>("Image1");
                               QCOMPARE(image->geometry(), QRect(40, 24, 32, 32));
                               QVERIFY(!image->pixmap().isNull());
                               for (auto [name, text, at] :
                                    {std::tuple("Label1", "ZUVORAK", QPoint(112, 24)),
                                     std::tuple("Label2", "バージョン3.0", QPoint(120, 48))}) {
                                   auto *label = box->findChild<QLabel *>(name);
                                   QCOMPARE(label->text(), QString(text));
                                   QCOMPARE(label->pos(), at);
                                   QVERIFY(label->font().bold());
                                   // Nothing clipped, and inside the box.
                                   QVERIFY(label->width() >= label->sizeHint().width());
                                   QVERIFY(label->geometry().right() < box->width());
                               }
                               box->close();
                           });
    }
    QCOMPARE(places.size(), 2);
    QCOMPARE(places[0], places[1]);
    const QScreen *screen = QGuiApplication::primaryScreen();
    QCOMPARE(places[0], screen->geometry().topLeft() + placementFor(screen->size()));
}

void TestForm1Help::contentsCommandOpensHelpAndArmsF1()
{
    QTest::keyClick(w_->form.get(), Qt::Key_F1);
    QApplication::processEvents();
    QVERIFY(!HelpViewer::instance().window()); // F1 does nothing before the first use

    w_->form->mnuMokuji_Click();
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

void TestForm1Help::closingTheMainWindowEndsTheProgramWithHelpOpen()
{
    w_->form->mnuMokuji_Click();
    QTRY_VERIFY(HelpViewer::instance().window() && HelpViewer::instance().window()->isVisible());
    QTimer::singleShot(0, w_->form.get(), &QWidget::close);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // only if it kept running
    QCOMPARE(QCoreApplication::exec(), 0);
}

void TestForm1Help::missingHelpFileGivesAMessage()
{
    MessageRecorder messages;
    HelpViewer::instance().setHelpFile(QStringLiteral("/nonexistent/zuvorak.html"));
    QTest::keyClick(w_->form.get(), Qt::Key_F1);
    QCOMPARE(messages.requests.size(), std::size_t(1));
    QCOMPARE(messages.requests[0].title, QStringLiteral("エラーメッセージ"));
    QVERIFY(messages.requests[0].text.contains(QStringLiteral("/nonexistent/zuvorak.html")));
    QVERIFY(!HelpViewer::instance().window());
}

void TestForm1Help::exitEndsAtOnceWithoutClosingWindows()
{
    w_->state->pointCount = 5; // an unsaved model: nothing asks about it
    QTimer::singleShot(0, w_->form.get(), &Form1::mnuExit_Click);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // only if exit failed
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(w_->form->isVisible()); // no window was asked to close
}

ZUVORAK_WINDOW_TEST_MAIN(TestForm1Help)
#include "tst_form1_help.moc"
