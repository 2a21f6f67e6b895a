#include "form4.h"
#include "test_support.h"

#include <QPainter>
#include <QTemporaryDir>

class TestCapture : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    MessageRecorder messages_;
    std::unique_ptr<MainWindow> main_;

    static QImage shown(const Form4 *capture) { return capture->picture1()->surface().image(); }
    // The empty picture box: at least 192 in each channel, but not white.
    static bool lightGrey(QRgb rgb) { return (rgb & 0xC0C0C0) == 0xC0C0C0 && qGray(rgb) < 255; }
    static QLine corners(Selection box) { return {box.startX, box.startY, box.endX, box.endY}; }
    // A left-button drag from `from` to `to`, then the import command.
    static void drag(Form4 *capture, QPoint from, QPoint to)
    {
        capture->Picture1_MouseDown(1, 0, from.x(), from.y());
        capture->Picture1_MouseMove(1, 0, to.x(), to.y());
        capture->Picture1_MouseUp(1, 0, to.x(), to.y());
    }
    static void dragAndImport(Form4 *capture, QPoint from, QPoint to)
    {
        drag(capture, from, to);
        capture->mnuTorikomi_Click();
    }
    void capture(const std::function<void(Form4 *)> &steps)
    {
        withModal<Form4>([&] { main_->form->mnuBuhin_Click(); }, steps);
    }

private slots:
    void init()
    {
        QImage image(300, 250, QImage::Format_RGB888);
        image.fill(Qt::white);
        for (const QPoint dark : {QPoint(11, 21), QPoint(11, 25), QPoint(14, 22), QPoint(299, 249)})
            image.setPixel(dark, qRgb(150, 20, 20));
        QVERIFY(image.save(dir_.filePath("sample.bmp"), "BMP"));
        Form4::setStartPicture(dir_.filePath("sample.bmp"));
        messages_.requests.clear();
        main_ = std::make_unique<MainWindow>();
    }

    void layoutOutlineAndRedo()
    {
        Form4 window(*main_->state, *main_->form);
        QCOMPARE(window.findChild<QWidget *>("client")->size(), QSize(614, 437));
        QCOMPARE(window.picture1()->geometry(), QRect(16, 8, 585, 417));
        QVERIFY(!isEnabled(&window, "mnuYarinaosi") && !isEnabled(&window, "mnuTorikomi"));

        const QImage picture = shown(&window);
        window.Picture1_MouseDown(1, 0, 50, 60);
        QVERIFY(QFile::remove(dir_.filePath("sample.bmp"))); // the window keeps its copy
        window.Picture1_MouseMove(1, 0, 10, 20);
        window.Picture1_MouseMove(1, 0, 80, 90); // must erase the first outline
        QImage outlined = picture; // a blue frame one pixel wide from (50, 60) to (80, 90)
        QPainter(&outlined).fillRect(QRect(50, 60, 31, 31), QColor(0, 0, 255));
        QPainter(&outlined).drawImage(51, 61, picture.copy(51, 61, 29, 29));
        QCOMPARE(shown(&window), outlined);
        window.Picture1_MouseUp(1, 0, 80, 90);
        window.Picture1_MouseDown(2, 0, 300, 300); // only the left button starts a drag
        window.Picture1_MouseUp(2, 0, 250, 250); // selects from the last left and top edges
        QCOMPARE(corners(window.selection()), QLine(50, 60, 250, 250));
        window.mnuYarinaosi_Click();
        QCOMPARE(shown(&window), picture);
        QVERIFY(!isEnabled(&window, "mnuYarinaosi") && isEnabled(&window, "mnuTorikomi"));
        QCOMPARE(corners(window.selection()), QLine(50, 60, 250, 250));
    }

    void importSelection_data()
    {
        QTest::addColumn<QString>("picture"); // buhin.bmp is missing: the background shows
        QTest::addColumn<QPoint>("end"); // dragged from (10, 10)
        QTest::addColumn<int>("points"); // -1: refused
        QTest::newRow("190 x 190") << "sample.bmp" << QPoint(200, 200) << 3;
        QTest::newRow("191 across") << "sample.bmp" << QPoint(201, 200) << -1;
        QTest::newRow("191 down") << "sample.bmp" << QPoint(200, 201) << -1;
        QTest::newRow("one pixel high") << "sample.bmp" << QPoint(60, 11) << 0;
        QTest::newRow("no start picture") << "buhin.bmp" << QPoint(200, 200) << 0;
    }
    void importSelection()
    {
        QFETCH(QString, picture);
        QFETCH(QPoint, end);
        QFETCH(int, points);
        const bool refused = points < 0;
        const bool missing = picture == "buhin.bmp";
        Form4::setStartPicture(dir_.filePath(picture));
        capture([&](Form4 *window) {
            const QImage before = shown(window);
            QCOMPARE(lightGrey(before.pixel(0, 0)), missing);
            dragAndImport(window, {10, 10}, end);
            QCOMPARE(window->isVisible(), refused);
            if (refused) // the outline is gone and another try is possible
                QVERIFY(shown(window) == before && isEnabled(window, "mnuTorikomi"));
        });
        QCOMPARE(main_->state->pointCount, qMax(points, 0));
        QCOMPARE(messages_.requests.size(), std::size_t(refused || missing ? 1 : 0));
        const QString told = refused ? "指定範囲が大きすぎます" : dir_.filePath(picture);
        for (const MessageRequest &request : messages_.requests)
            QVERIFY(request.title == "エラーメッセージ" && request.text.contains(told));
        for (const QString &name : modelCommands())
            QVERIFY2(main_->enabled(name) == !refused, qPrintable(name));
    }

    void leavingKeepsMainWindowAndImportReplaces()
    {
        capture([](Form4 *window) { dragAndImport(window, {10, 20}, {15, 26}); });
        const QImage view = main_->form->picture1()->surface().image();
        // A selection made and then left by Exit or the close box hands nothing over.
        capture([](Form4 *window) {
            drag(window, {0, 0}, {13, 23}); // would give 1 point
            window->mnuExit_Click();
        });
        capture([](Form4 *window) {
            drag(window, {0, 0}, {13, 23}); // would give 1 point
            window->close();
        });
        QVERIFY(main_->state->pointCount == 3 && main_->enabled("Coanime"));
        QCOMPARE(main_->form->picture1()->surface().image(), view);
        capture([](Form4 *window) { dragAndImport(window, {300, 250}, {290, 240}); });
        QCOMPARE(main_->state->pointCount, 1); // only the far corner's pixel
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestCapture)
#include "tst_capture.moc"
