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
    static QLine corners(Selection box) { return {box.startX, box.startY, box.endX, box.endY}; }
    // A left-button drag from `from` to `to`, then a command: the import unless told otherwise.
    static void drag(Form4 *capture, QPoint from, QPoint to,
                     void (Form4::*then)() = &Form4::mnuTorikomi_Click)
    {
        capture->Picture1_MouseDown(1, 0, from.x(), from.y());
        capture->Picture1_MouseMove(1, 0, to.x(), to.y());
        capture->Picture1_MouseUp(1, 0, to.x(), to.y());
        if (then)
            (capture->*then)();
    }
    void capture(const std::function<void(Form4 *)> &steps)
    {
        withModal<Form4>([&] { main_->form->mnuBuhin_Click(); }, steps);
    }

private slots:
    void init() // a white start picture with four dark pixels
    {
        ImageSurface image(300, 250, kWhite);
        for (const QPoint dark : {QPoint(11, 21), QPoint(11, 25), QPoint(14, 22), QPoint(299, 249)})
            image.PSet(dark.x(), dark.y(), 0x141496);
        QVERIFY(image.SavePicture(dir_.filePath("sample.bmp").toStdString()).ok());
        Form4::setStartPicture(dir_.filePath("sample.bmp"));
        messages_.requests.clear();
        main_ = std::make_unique<MainWindow>();
    }

    void outlineRedoAndLeaving()
    {
        Form4 window(*main_->state, *main_->form);
        QCOMPARE(window.findChild<QWidget *>("client")->size(), QSize(614, 437));
        QCOMPARE(window.picture1()->geometry(), QRect(16, 8, 585, 417));
        QVERIFY(!isEnabled(&window, "mnuYarinaosi") && !isEnabled(&window, "mnuTorikomi"));
        const QImage picture = shown(&window);
        window.Picture1_MouseDown(1, 0, 80, 90);
        window.Picture1_MouseMove(1, 0, 10, 20);
        window.Picture1_MouseMove(1, 0, 50, 60); // must erase the first outline
        QImage outlined = picture; // a blue frame one pixel wide from (50, 60) to (80, 90)
        QPainter(&outlined).fillRect(QRect(50, 60, 31, 31), QColor(0, 0, 255));
        QPainter(&outlined).drawImage(51, 61, picture.copy(51, 61, 29, 29));
        QCOMPARE(shown(&window), outlined);
        window.Picture1_MouseUp(1, 0, 50, 60);
        window.Picture1_MouseUp(2, 0, 250, 250); // selects from the left and top edges, (50, 60)
        window.mnuYarinaosi_Click();
        QCOMPARE(shown(&window), picture);
        QVERIFY(!isEnabled(&window, "mnuYarinaosi") && isEnabled(&window, "mnuTorikomi"));
        QCOMPARE(corners(window.selection()), QLine(50, 60, 250, 250));

        capture([](Form4 *window) { drag(window, {10, 20}, {15, 26}); }); // 3 points
        // A selection made and then left by Exit or the close box hands nothing over.
        capture([](Form4 *window) { drag(window, {0, 0}, {13, 23}, &Form4::mnuExit_Click); });
        capture([](Form4 *window) { drag(window, {0, 0}, {13, 23}, nullptr); }); // then closed
        QVERIFY(main_->state->pointCount == 3 && main_->enabled("Coanime"));
        capture([](Form4 *window) { drag(window, {300, 250}, {290, 240}); });
        QCOMPARE(main_->state->pointCount, 1); // only the far corner's pixel
    }

    void importSelection_data()
    {
        QTest::addColumn<bool>("missing"); // no start picture: the grey background shows
        QTest::addColumn<QPoint>("end"); // dragged from (10, 10)
        QTest::addColumn<int>("points"); // -1: refused
        QTest::newRow("190 x 190") << false << QPoint(200, 200) << 3;
        QTest::newRow("191 across") << false << QPoint(201, 200) << -1;
        QTest::newRow("191 down") << false << QPoint(200, 201) << -1;
        QTest::newRow("one pixel high") << false << QPoint(60, 11) << 0;
        QTest::newRow("no start picture") << true << QPoint(200, 200) << 0;
    }
    void importSelection()
    {
        QFETCH(bool, missing);
        QFETCH(QPoint, end);
        QFETCH(int, points);
        const bool refused = points < 0;
        Form4::setStartPicture(dir_.filePath(missing ? "buhin.bmp" : "sample.bmp"));
        capture([&](Form4 *window) {
            const QImage before = shown(window);
            QCOMPARE(before.pixel(0, 0) != qRgb(255, 255, 255), missing);
            drag(window, {10, 10}, end);
            QCOMPARE(window->isVisible(), refused); // refused: no outline, and another try
            QVERIFY(!refused || (shown(window) == before && isEnabled(window, "mnuTorikomi")));
        });
        QCOMPARE(main_->state->pointCount, qMax(points, 0));
        QCOMPARE(messages_.requests.size(), std::size_t(refused || missing));
        const QString told = refused ? "指定範囲が大きすぎます" : dir_.filePath("buhin.bmp");
        for (const MessageRequest &request : messages_.requests)
            QVERIFY(request.title == "エラーメッセージ" && request.text.contains(told));
        for (const QString &name : modelCommands())
            QVERIFY2(main_->enabled(name) == !refused, qPrintable(name));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestCapture)
#include "tst_capture.moc"
