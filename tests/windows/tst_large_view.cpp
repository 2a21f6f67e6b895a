#include "large_view.h"
#include "literal_turn.h"
#include "window_test.h"

#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QWheelEvent>

#include <random>

namespace {

// 2000 points in six colours, with halves and zeros among the coordinates, so
// that a turn by 0 and no turn would round some of them differently.
Model halvesModel()
{
    Model model;
    std::mt19937 random(13);
    std::uniform_int_distribution<int> half(-200, 200);
    for (int i = 0; i < 2000; ++i) {
        model.points.push_back({half(random) / 4.0, half(random) / 2.0, half(random) / 2.0});
        model.colours.push_back(Colour(0x202020 * (i % 6)));
    }
    model.points[0] = {0, 0, 0.5};
    return model;
}

// A red point at (10, 20) and a green one at (-30, -40), both at depth 0.
Model twoPoints()
{
    return {{{0, 10, 20}, {0, -30, -40}}, {0x0000FF, 0x00FF00}};
}

QList<QPoint> pixelsOf(const QImage &image, QRgb colour)
{
    QList<QPoint> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                found << QPoint(x, y);
    return found;
}

void wheel(QWidget *view, QPointF at, int notches)
{
    QWheelEvent event(at, view->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

void drag(QWidget *view, Qt::MouseButton button, QPoint from, QList<QPoint> through)
{
    QTest::mousePress(view, button, {}, from);
    for (const QPoint at : through)
        QTest::mouseMove(view, at);
    QTest::mouseRelease(view, button, {}, through.last());
}

} // namespace

class TestLargeView : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program_;
    QWidget *window() const { return &program_->window; }
    Document &document() const { return program_->document; }

    // Opened from the menu, sized to the main view.
    LargeView *open(QSize size = {kViewSize, kViewSize})
    {
        trigger(window(), "largeViewAction");
        LargeView *view = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *large = qobject_cast<LargeView *>(top); large && large->isVisible())
                view = large;
        if (!view)
            qFatal("the large view did not open");
        view->resize(size);
        if (!QTest::qWaitForWindowExposed(view))
            qFatal("the large view did not show");
        return view;
    }
    QImage mainView() const { return shown(window(), "view"); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        QSettings(QStringLiteral("zuvorak"), QStringLiteral("zuvorak")).clear();
        program_ = std::make_unique<Program>();
        child<QTimer>(window(), "animationTimer")->stop();
    }
    void cleanup() { program_.reset(); }

    void sameAsMainView_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("turned by buttons") << "turnLeft5,turnUp1,turnUp1";
        QTest::newRow("front view after a mirror: drawn unturned") << "mirrorAction";
        QTest::newRow("front button: turned by 0") << "turnLeft1,frontView";
    }
    void sameAsMainView()
    {
        QFETCH(QString, command);
        document().importModel(halvesModel());
        LargeView *view = open();
        for (const QString &name : command.split(','))
            name.endsWith("Action") ? trigger(window(), qPrintable(name))
                                    : click(window(), qPrintable(name));
        const Model &model = document().model();
        const QImage literal = literal::plotted(
            document().showsFrontView()
                ? model.points
                : literal::turnModel(model.points, document().turn(), document().tilt()),
            model.colours);
        QVERIFY(samePicture(view->surface().image(), literal, "literal"));
        QVERIFY(samePicture(view->surface().image(), mainView(), "main"));
    }

    void leftDragTurns_data()
    {
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("10 pixels left turn as 左 5 does")
            << QList<QPoint> {{125, 100}, {120, 100}} << QStringList {"5", "0"};
        QTest::newRow("6 pixels up tilt as 上 3 does")
            << QList<QPoint> {{130, 94}} << QStringList {"0", "3"};
        QTest::newRow("there and back in odd steps: halves, summed")
            << QList<QPoint> {{137, 95}, {133, 110}, {123, 101}} << QStringList {"3.5", "-0.5"};
    }
    void leftDragTurns()
    {
        QFETCH(QList<QPoint>, path);
        QFETCH(QStringList, labels);
        document().importModel(halvesModel());
        LargeView *view = open();
        drag(view, Qt::LeftButton, {130, 100}, path);
        QCOMPARE((QStringList {text(window(), "turnAngle"), text(window(), "tiltAngle")}), labels);
        QVERIFY(samePicture(view->surface().image(), mainView(), "dragged"));
    }

    // The red point stays under the pointer while the green one moves away from it.
    void wheelZoomsAboutThePointer()
    {
        document().importModel(twoPoints());
        LargeView *view = open();
        const QImage before = view->surface().image();
        const QPoint red(140, 110);
        const QPoint green(100, 170);
        QCOMPARE(pixelsOf(before, qRgb(255, 0, 0)), QList {red});
        QCOMPARE(pixelsOf(before, qRgb(0, 255, 0)), QList {green});
        for (int i = 0; i < 3; ++i)
            wheel(view, red, 1);
        QCOMPARE(pixelsOf(view->surface().image(), qRgb(255, 0, 0)), QList {red});
        const QList<QPoint> moved = pixelsOf(view->surface().image(), qRgb(0, 255, 0));
        QCOMPARE(moved.size(), 1);
        const QPointF ratio(double(moved[0].x() - red.x()) / (green.x() - red.x()),
                            double(moved[0].y() - red.y()) / (green.y() - red.y()));
        QVERIFY2(ratio.x() > 1.5 && std::abs(ratio.x() - ratio.y()) < 0.05,
                 qPrintable(QString("%1 %2").arg(ratio.x()).arg(ratio.y())));
        wheel(view, red, -3);
        QVERIFY(samePicture(view->surface().image(), before, "zoomed back"));
    }

    // A right drag moves the picture with the pointer; a right click opens the
    // menu, whose point size is kept for the next large view.
    void rightDragPansAndRightClickOpensTheMenu()
    {
        document().importModel(twoPoints());
        LargeView *view = open();
        auto *menu = child<QMenu>(view, "largeViewMenu");
        drag(view, Qt::RightButton, {50, 50}, {{58, 47}, {65, 43}});
        QVERIFY(!menu->isVisible());
        QCOMPARE(pixelsOf(view->surface().image(), qRgb(255, 0, 0)), QList {QPoint(155, 103)});
        QCOMPARE(pixelsOf(view->surface().image(), qRgb(0, 255, 0)), QList {QPoint(115, 163)});

        QTest::mouseClick(view, Qt::RightButton, {}, {20, 20});
        QTRY_VERIFY(menu->isVisible());
        child<QAction>(view, "pointSize3")->trigger();
        menu->close();
        QCOMPARE(pixelsOf(view->surface().image(), qRgb(255, 0, 0)).size(), 9);
        const QPointer<LargeView> closed(view);
        view->close();
        QTRY_VERIFY(!closed); // deleted: the next one reads the settings afresh
        view = open();
        QVERIFY(child<QAction>(view, "pointSize3")->isChecked());
        QCOMPARE(pixelsOf(view->surface().image(), qRgb(0, 255, 0)).size(), 9);
    }

    void doubleClickGivesTheFrontView()
    {
        document().importModel(halvesModel());
        LargeView *view = open();
        drag(view, Qt::LeftButton, {100, 100}, {{90, 80}});
        wheel(view, {40, 60}, 2);
        drag(view, Qt::RightButton, {100, 100}, {{120, 130}});
        QTest::mouseDClick(view, Qt::LeftButton, {}, {100, 100});
        QCOMPARE(text(window(), "turnAngle"), "0");
        QCOMPARE(text(window(), "tiltAngle"), "0");
        QVERIFY(samePicture(view->surface().image(), mainView(), "front"));
    }

    void extremeSizesAndZooms()
    {
        document().importModel(twoPoints());
        LargeView *view = open({1, 1});
        QCOMPARE(view->surface().image().size(), QSize(1, 1));
        view->resize(4000, 4000);
        QApplication::processEvents();
        const double scale = 4000.0 / kViewSize;
        QCOMPARE(view->surface().image().pixel(2000 + 10 * scale, 2000 - 20 * scale),
                 qRgb(255, 0, 0));

        view->resize(kViewSize, kViewSize);
        QApplication::processEvents();
        const QPoint red(140, 110);
        for (int i = 0; i < 300; ++i)
            wheel(view, red, 1);
        wheel(view, red, 1 << 20);
        QCOMPARE(view->surface().image().pixel(red), qRgb(255, 0, 0));
        wheel(view, red, -(1 << 20));
        for (int i = 0; i < 300; ++i)
            wheel(view, {0, 0}, -1);
        const QList<QPoint> reds = pixelsOf(view->surface().image(), qRgb(255, 0, 0));
        const QList<QPoint> greens = pixelsOf(view->surface().image(), qRgb(0, 255, 0));
        QCOMPARE(reds, QList {red});
        QCOMPARE(greens.size(), 1);
        QVERIFY(reds[0] != greens[0]); // still a picture, not a dot
    }

    // The large view is never blocked by the main window's dialogs and follows the animation.
    void followsTheAnimationDuringADialog()
    {
        struct BlockWatch : QObject {
            bool blocked = false;
            bool eventFilter(QObject *, QEvent *event) override
            {
                blocked = blocked || event->type() == QEvent::WindowBlocked;
                return false;
            }
        } watch;
        document().importModel(halvesModel());
        LargeView *view = open();
        view->installEventFilter(&watch);
        child<QTimer>(window(), "animationTimer")->start();
        click(window(), "animation");
        withModal<QDialog>([&] { trigger(window(), "aboutAction"); },
                           [&](QDialog *) {
                               QTest::qWait(1100);
                               drag(view, Qt::LeftButton, {100, 100}, {{80, 100}});
                           });
        QVERIFY(!watch.blocked);
        QVERIFY(document().animationPhase() >= 2);
        QVERIFY(samePicture(view->surface().image(), mainView(), "animation"));
    }

    void closingTheMainWindowEndsTheProgram()
    {
        open();
        QTimer::singleShot(0, window(), &QWidget::close);
        QVERIFY(endsWithin(5000));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestLargeView)
#include "tst_large_view.moc"
