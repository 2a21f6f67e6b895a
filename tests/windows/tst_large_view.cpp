#include "literal_turn.h"
#include "turntable.h"
#include "window_test.h"

#include <QMenu>
#include <QScopeGuard>
#include <QScreen>
#include <QWheelEvent>

#include <atomic>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// A red point at (10, 20) and a green one at (-30, -40), both at depth 0: at the main
// view's size drawn at (140, 110) and (100, 170).
const Model kTwoPoints = {{{0, 10, 20}, {0, -30, -40}}, {0x0000FF, 0x00FF00}};
const QPoint kRed(140, 110), kGreen(100, 170);
const QRgb kRedPixel = qRgb(255, 0, 0), kGreenPixel = qRgb(0, 255, 0);

QList<QPoint> pixelsOf(const LargeView *view, QRgb colour)
{
    const QImage image = view->surface().image();
    QList<QPoint> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                found << QPoint(x, y);
    return found;
}

QPoint middleOf(const QList<QPoint> &pixels)
{
    QPoint sum;
    for (const QPoint pixel : pixels)
        sum += pixel;
    return pixels.isEmpty() ? QPoint(-1, -1) : sum / pixels.size();
}

void wheel(QWidget *view, QPointF at, int notches, int times = 1)
{
    for (int i = 0; i < times; ++i) {
        QWheelEvent event(at, view->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    }
}

void drag(QWidget *view, Qt::MouseButton button, QPoint from, const QList<QPoint> &through)
{
    QTest::mousePress(view, button, {}, from);
    for (const QPoint at : through)
        QTest::mouseMove(view, at);
    QTest::mouseRelease(view, button, {}, through.last());
}

} // namespace

class TestLargeView : public QObject, WithProgram {
    Q_OBJECT

private slots:
    void init() { start(); }

    // At 261 x 261 and zoom 1 the large view is the main view, and both are the literal
    // formula's; a left drag from (130, 100) turns half a degree a pixel, a button 1 or 5
    // (each button's direction: tst_windows_agree::render against the command line).
    void sameAsMainView_data()
    {
        QTest::addColumn<QString>("steps"); // buttons, menu commands and "x,y;x,y": a left drag
        QTest::addColumn<QString>("angles");
        QTest::newRow("73 large left steps are not wrapped")
            << QString("turnLeft5 ").repeated(73) << QString("365 0");
        QTest::newRow("front view zeroes both, then steps go on")
            << "turnLeft5 turnUp1 frontView turnLeft1" << QString("1 0");
        QTest::newRow("front view after a mirror: drawn unturned")
            << "mirrorAction" << QString("0 0");
        QTest::newRow("front button: turned by 0") << "turnLeft1 frontView" << QString("0 0");
        QTest::newRow("10 pixels left turn as 左 5 does") << "125,100;120,100" << QString("5 0");
        QTest::newRow("6 pixels up tilt as 上 3 does") << "130,94" << QString("0 3");
        QTest::newRow("there and back in odd steps: halves, summed")
            << "137,95;133,110;123,101" << QString("3.5 -0.5");
    }
    void sameAsMainView()
    {
        QFETCH(QString, steps);
        QFETCH(QString, angles);
        document().importModel(sixColours(2000, 13));
        LargeView *view = openLargeView(window());
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            if (step.contains(',')) { // from (130, 100)
                QList<QPoint> through;
                for (const QString &at : step.split(';'))
                    through << QPoint(at.section(',', 0, 0).toInt(), at.section(',', 1).toInt());
                drag(view, Qt::LeftButton, {130, 100}, through);
            } else if (auto *action = window()->findChild<QAction *>(step)) {
                action->trigger();
            } else {
                click(window(), qPrintable(step));
            }
        }
        QCOMPARE(text(window(), "turnAngle") + ' ' + text(window(), "tiltAngle"), angles);
        const Model &model = document().model();
        if (viewState().showsFrontView()) // drawn unturned
            QVERIFY(samePicture(view->surface().image(),
                                literal::plotted(model.points, model.colours), "literal"));
        else
            QVERIFY(showsLiteralTurn(view->surface().image(), model, viewState().turn(),
                                     viewState().tilt(), "literal"));
        QVERIFY(samePicture(view->surface().image(), shown(window(), "view"), "main"));
    }

    // 終了 keeps the large view's place and size for the next start, as closing it does.
    void exitRemembersItsPlace()
    {
        openLargeView(window(), {300, 200});
        QTimer::singleShot(0, window(), [this] { trigger(window(), "exitAction"); });
        QVERIFY(endsWithin(2000));
        QVERIFY(settingsFile().contains("largeView/geometry"));
    }

    // A remembered size larger than the screen (an edited file, a larger screen) is brought
    // within the screen instead of allocating the whole size.
    void rememberedSizeWithinTheScreen()
    {
        QWidget giant;
        giant.setGeometry(0, 0, 30000, 30000);
        save<Remembered::LargeViewGeometry>(giant.saveGeometry());
        const LargeView *view = openLargeView(window(), {});
        const QSize screen = view->screen()->availableGeometry().size();
        QVERIFY2(screen.boundedTo(view->size()) == view->size(),
                 qPrintable(QString::number(view->width())));
    }

    // A settings file that is not a regular file is never opened: a named pipe would block the
    // first read for ever, and a save would replace a device with a file. The program runs on
    // its defaults and says once why.
    void settingsOnlyInARegularFile_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::newRow("a link to a device node") << false;
        QTest::newRow("a named pipe") << true;
    }
    void settingsOnlyInARegularFile()
    {
        QFETCH(bool, pipe);
        program_.reset();
        const QByteArray path = QFile::encodeName(settingsPath());
        const QTemporaryDir dir;
        const QByteArray node = QFile::encodeName(dir.filePath("node"));
        QVERIFY(QDir().mkpath(QFileInfo(settingsPath()).path()));
        if (pipe)
            QVERIFY(::mkfifo(path, 0600) == 0);
        else if (::mknod(node, S_IFCHR | 0600, makedev(1, 3)) != 0 || ::symlink(node, path) != 0)
            QSKIP("making a device node needs root");
        const auto restore = qScopeGuard([] { clearSettings(); });
        // A writer that gets in whenever the program opens the pipe, so that it never blocks,
        // and once more when the test ends.
        std::atomic<bool> ending = false, opened = false;
        std::thread writer([&] {
            while (pipe && !ending) {
                const int end = ::open(path, O_WRONLY);
                opened = opened || !ending;
                ::close(end);
            }
        });
        const auto end = qScopeGuard([&] {
            ending = true;
            const int reader = ::open(path, O_RDONLY | O_NONBLOCK); // lets the writer in
            writer.join();
            ::close(reader);
        });
        MessageBoxes boxes;
        program_ = std::make_unique<Program>();
        openLargeView(window())->close();
        QTimer::singleShot(0, window(), [this] { trigger(window(), "exitAction"); });
        QVERIFY(endsWithin(2000));
        QVERIFY2(!opened, "the program opened the settings pipe");
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text,
                 "設定ファイル " + settingsPath()
                     + " は通常のファイルではないため、設定は読み書きしません。"
                       "今回は初期設定で動きます。");
        struct stat status { };
        QVERIFY(::stat(path, &status) == 0);
        QVERIFY(pipe ? S_ISFIFO(status.st_mode) : S_ISCHR(status.st_mode));
    }

    // Points grow with the scale: a filled square stays filled, with no background inside its
    // outline, in a turntable frame of 1024 and in the large view zoomed in.
    void filledAtAnyScale_data()
    {
        QTest::addColumn<int>("zoomNotches"); // 0: the turntable
        QTest::newRow("turntable at 1024 x 1024") << 0;
        QTest::newRow("large view zoomed in 3 notches") << 3;
    }
    void filledAtAnyScale()
    {
        QFETCH(int, zoomNotches);
        Model square;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                square.points.push_back({0, x - 50.0, y - 50.0});
                square.colours.push_back(0x2050A0);
            }
        document().importModel(square);
        QImage image;
        if (zoomNotches == 0) {
            TurntableOptions options;
            options.size = 1024;
            image = TurntableRenderer(document().model(), options).render(0);
        } else {
            LargeView *view = openLargeView(window(), {600, 600});
            wheel(view, {300, 300}, zoomNotches);
            image = view->surface().image();
        }
        QRect outline;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    outline |= QRect(x, y, 1, 1);
        QVERIFY(outline.width() > 300); // wider than 100 one-pixel points
        for (int y = outline.top(); y <= outline.bottom(); ++y)
            for (int x = outline.left(); x <= outline.right(); ++x)
                if (image.pixel(x, y) == qRgb(255, 255, 255))
                    QFAIL(qPrintable(QString("background at %1, %2").arg(x).arg(y)));
    }

    // The red point stays under the pointer while the green one moves away from it evenly;
    // zooming back gives the former picture, and no number of notches or size breaks it.
    // A right drag pans; a right click opens the menu, whose point size the next view keeps.
    void zoomPanAndMenu()
    {
        document().importModel(kTwoPoints);
        LargeView *view = openLargeView(window());
        const QImage before = view->surface().image();
        QCOMPARE(pixelsOf(view, kRedPixel), QList {kRed});
        QCOMPARE(pixelsOf(view, kGreenPixel), QList {kGreen});
        wheel(view, kRed, 1, 3); // a zoom of 1.95: each point fills 2 x 2 from where it lands
        QCOMPARE(pixelsOf(view, kRedPixel),
                 QList({kRed, kRed + QPoint(1, 0), kRed + QPoint(0, 1), kRed + QPoint(1, 1)}));
        const QList<QPoint> moved = pixelsOf(view, kGreenPixel);
        QCOMPARE(moved.size(), 4);
        const QPointF ratio(double(moved[0].x() - kRed.x()) / (kGreen.x() - kRed.x()),
                            double(moved[0].y() - kRed.y()) / (kGreen.y() - kRed.y()));
        QVERIFY2(ratio.x() > 1.5 && std::abs(ratio.x() - ratio.y()) < 0.05,
                 qPrintable(QString("%1 %2").arg(ratio.x()).arg(ratio.y())));
        wheel(view, kRed, -1, 3);
        QVERIFY(samePicture(view->surface().image(), before, "zoomed back"));
        for (const int side : {1, 4000, kViewSize}) {
            view->resize(side, side);
            QApplication::processEvents();
            QCOMPARE(view->surface().image().size(), QSize(side, side));
            const double scale = double(side) / kViewSize;
            if (side > 1) // the red point where the fitted size puts it
                QCOMPARE(
                    view->surface().image().pixel(side / 2 + 10 * scale, side / 2 - 20 * scale),
                    kRedPixel);
        }
        wheel(view, kRed, 1, 300);
        wheel(view, kRed, 1 << 20);
        QCOMPARE(view->surface().image().pixel(kRed), kRedPixel);
        wheel(view, kRed, -(1 << 20));
        wheel(view, {0, 0}, -1, 300);
        const QList<QPoint> greens = pixelsOf(view, kGreenPixel);
        QCOMPARE(pixelsOf(view, kRedPixel), QList {kRed});
        QVERIFY(greens.size() == 1 && greens[0] != kRed); // still a picture, not a dot

        // A double click shows the front view with the model's bounding box filling the view
        // but for a margin, its middle in the view's (within the pixel an even square has no
        // middle of): the two points, grown with the scale, at opposite corners.
        viewState().turnBy(20, 10);
        QTest::mouseDClick(view, Qt::LeftButton, {}, {100, 100});
        QCOMPARE(text(window(), "turnAngle") + text(window(), "tiltAngle"), "00");
        const QPoint red = middleOf(pixelsOf(view, kRedPixel)),
                     green = middleOf(pixelsOf(view, kGreenPixel));
        const QPoint off = red + green - QPoint(kViewSize, kViewSize);
        QVERIFY2(std::max(std::abs(off.x()), std::abs(off.y())) <= 2,
                 qPrintable(QString("%1 %2").arg(off.x()).arg(off.y())));
        QVERIFY2(green.y() - red.y() >= kViewSize * 0.85, qPrintable(QString::number(red.y())));
        auto *menu = child<QMenu>(view, "largeViewMenu");
        drag(view, Qt::RightButton, {50, 50}, {{58, 47}, {65, 43}});
        QVERIFY(!menu->isVisible());
        QCOMPARE(middleOf(pixelsOf(view, kRedPixel)), red + QPoint(15, -7));
        QCOMPARE(middleOf(pixelsOf(view, kGreenPixel)), green + QPoint(15, -7));
        wheel(view, {kViewSize / 2.0, kViewSize / 2.0}, -1,
              300); // a point a pixel, grown to the size chosen
        QTest::mouseClick(view, Qt::RightButton, {}, {20, 20});
        QTRY_VERIFY(menu->isVisible());
        child<QAction>(view, "pointSize3")->trigger();
        menu->close();
        QCOMPARE(pixelsOf(view, kRedPixel).size(), 9);
        const QPointer<LargeView> closed(view);
        view->close();
        QTRY_VERIFY(!closed); // deleted: the next one reads the settings afresh
        view = openLargeView(window());
        QVERIFY(child<QAction>(view, "pointSize3")->isChecked());
        QCOMPARE(pixelsOf(view, kGreenPixel).size(), 9);
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestLargeView)
#include "tst_large_view.moc"
