#include "form4.h"
#include "test_support.h"

#include <QTemporaryDir>

class TestCapture : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    MessageRecorder messages_;
    std::unique_ptr<MainWindow> w;

    static QImage shown(const Form4 *c) { return c->picture1()->surface().image(); }
    // At least 192 in each channel, but not white.
    static bool lightGrey(QRgb c) { return (c & 0xC0C0C0) == 0xC0C0C0 && qGray(c) < 255; }
    static QList<int> corners(Selection s) { return {s.startX, s.startY, s.endX, s.endY}; }
    static void drag(Form4 *c, float x0, float y0, float x, float y, bool import = false, int b = 1)
    {
        c->Picture1_MouseDown(b, 0, x0, y0);
        c->Picture1_MouseMove(b, 0, x, y);
        c->Picture1_MouseUp(b, 0, x, y);
        if (import)
            c->mnuTorikomi_Click();
    }
    // Runs `steps` in the capture window opened from the main window, then closes it.
    void capture(const std::function<void(Form4 *)> &steps)
    {
        withModal<Form4>([&] { w->form->mnuBuhin_Click(); }, steps);
    }

private slots:
    void init()
    {
        QImage image(300, 250, QImage::Format_RGB888);
        image.fill(Qt::white);
        for (const QPoint p : {QPoint(11, 21), QPoint(11, 25), QPoint(14, 22), QPoint(299, 249)})
            image.setPixel(p, qRgb(150, 20, 20));
        QVERIFY(image.save(dir_.filePath("sample.bmp"), "BMP"));
        Form4::setStartPicture(dir_.filePath("sample.bmp"));
        messages_.requests.clear();
        w = std::make_unique<MainWindow>();
    }

    void layoutDragAndRedo()
    {
        Form4 c(*w->state, *w->form);
        QCOMPARE(c.findChild<QWidget *>("client")->size(), QSize(614, 437));
        QCOMPARE(c.picture1()->geometry(), QRect(16, 8, 585, 417));
        QVERIFY(lightGrey(shown(&c).pixel(580, 412)));
        QVERIFY(!isEnabled(&c, "mnuYarinaosi") && !isEnabled(&c, "mnuTorikomi"));

        QImage picture = shown(&c), expected = picture;
        c.Picture1_MouseDown(1, 0, 50, 60);
        QVERIFY(QFile::remove(dir_.filePath("sample.bmp"))); // the window keeps its copy
        c.Picture1_MouseMove(1, 0, 10, 20);
        c.Picture1_MouseMove(1, 0, 80, 90); // erases the first outline
        for (int i = 0; i <= 30; ++i)
            for (const QPoint p : {QPoint(i, 0), QPoint(i, 30), QPoint(0, i), QPoint(30, i)})
                expected.setPixel(p + QPoint(50, 60), qRgb(0, 0, 255));
        QCOMPARE(shown(&c), expected);
        c.Picture1_MouseUp(1, 0, 80, 90);
        drag(&c, 300, 300, 250, 250, false, 2); // selects from the last left and top edges
        QCOMPARE(corners(c.selection()), QList<int>({50, 60, 250, 250}));
        QCOMPARE(shown(&c), expected);
        c.mnuYarinaosi_Click();
        QCOMPARE(shown(&c), picture);
        QVERIFY(!isEnabled(&c, "mnuYarinaosi") && isEnabled(&c, "mnuTorikomi"));
        QCOMPARE(corners(c.selection()), QList<int>({50, 60, 250, 250}));
    }

    void importSelection_data()
    {
        QTest::addColumn<QPoint>("end"); // dragged from (10, 10)
        QTest::addColumn<int>("points"); // -1: refused
        QTest::newRow("190 x 190 imports") << QPoint(200, 200) << 3;
        QTest::newRow("191 across is refused") << QPoint(201, 200) << -1;
        QTest::newRow("191 down is refused") << QPoint(200, 201) << -1;
        QTest::newRow("one pixel high: empty model") << QPoint(60, 11) << 0;
    }
    void importSelection()
    {
        QFETCH(QPoint, end);
        QFETCH(int, points);
        const bool refused = points < 0;
        capture([&](Form4 *c) {
            const QImage picture = shown(c);
            drag(c, 10, 10, end.x(), end.y(), true);
            QCOMPARE(c->isVisible(), refused);
            QVERIFY(!refused || (shown(c) == picture && isEnabled(c, "mnuTorikomi")));
        });
        QCOMPARE(w->state->pointCount, qMax(points, 0));
        QCOMPARE(messages_.requests.size(), std::size_t(refused));
        for (const MessageRequest &m : messages_.requests)
            QVERIFY(m.text == "指定範囲が大きすぎます" && m.title == "エラーメッセージ");
        for (const QString &name : modelCommands())
            QVERIFY2(w->enabled(name) == !refused, qPrintable(name));
    }

    void leavingKeepsMainWindowAndImportReplaces()
    {
        capture([](Form4 *c) { drag(c, 10, 20, 15, 26, true); });
        const QImage view = w->form->picture1()->surface().image();
        const QImage staging = w->form->picture2()->surface().image();
        for (const bool closeBox : {false, true})
            capture([&](Form4 *c) {
                drag(c, 0, 0, 40, 40);
                closeBox ? void(c->close()) : c->mnuExit_Click();
                QVERIFY(!c->isVisible());
            });
        QVERIFY(w->state->pointCount == 3 && w->enabled("Coanime") && w->enabled("mnuSave"));
        QCOMPARE(w->form->picture1()->surface().image(), view);
        QCOMPARE(w->form->picture2()->surface().image(), staging);
        capture([](Form4 *c) { drag(c, 300, 250, 290, 240, true); });
        QCOMPARE(w->state->pointCount, 1); // the second import replaces the model
        QCOMPARE(w->form->picture2()->surface().image().pixel(1, 0), qRgb(255, 255, 255));
    }

    void missingAndUnreadablePictures()
    {
        const QString missing = dir_.filePath("buhin.bmp");
        const QString bad = QStringLiteral(ZUVORAK_SOURCE_DIR "/CMakeLists.txt");
        Form4::setStartPicture(missing);
        capture([&](Form4 *c) {
            QVERIFY(lightGrey(shown(c).pixel(0, 0)));
            QVERIFY(c->showCapturePicture(dir_.filePath("sample.bmp")));
            QVERIFY(!c->showCapturePicture(bad));
            drag(c, 10, 20, 15, 26, true);
        });
        QCOMPARE(messages_.requests.size(), std::size_t(2));
        const QString texts = messages_.requests[0].text + messages_.requests[1].text;
        QVERIFY(texts.contains(missing) && texts.contains(bad));
        QCOMPARE(w->state->pointCount, 3); // the good picture is still shown
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestCapture)
#include "tst_capture.moc"
