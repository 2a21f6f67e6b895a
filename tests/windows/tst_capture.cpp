#include "application.h"
#include "form1.h"
#include "form4.h"
#include "picture_box.h"
#include "platform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(Selection)

namespace {

constexpr QRgb kDark = qRgb(150, 20, 20);
constexpr QRgb kNavy = qRgb(20, 30, 120);

QColor colourAt(const PictureBox *box, int x, int y)
{
    return box->surface().image().pixelColor(x, y);
}

struct Drag {
    QPointF from;
    QPointF to;
};

void drag(Form4 &capture, Drag d)
{
    capture.Picture1_MouseDown(1, 0, float(d.from.x()), float(d.from.y()));
    capture.Picture1_MouseMove(1, 0, float(d.to.x()), float(d.to.y()));
    capture.Picture1_MouseUp(1, 0, float(d.to.x()), float(d.to.y()));
}

QAction *action(QObject *window, const char *name)
{
    if (auto *found = window->findChild<QAction *>(QString(name)))
        return found;
    for (QMenuBar *bar : window->findChildren<QMenuBar *>())
        for (QAction *candidate : bar->actions())
            if (candidate->objectName() == QLatin1String(name))
                return candidate;
    return nullptr;
}

// Everything an import may change in the main window, to prove that nothing did.
struct MainWindowSnapshot {
    std::int32_t pointCount;
    std::vector<Coords> points;
    std::vector<Colour> colours;
    QImage staging;
    QImage view;
    QStringList enabled;

    static MainWindowSnapshot of(Form1 &form)
    {
        const ProgramState &s = form.state();
        MainWindowSnapshot snap {s.pointCount,
                                 {s.modelPoints.begin(), s.modelPoints.begin() + 200},
                                 {s.pointColors.begin(), s.pointColors.begin() + 200},
                                 form.picture2()->surface().image(),
                                 form.picture1()->surface().image(),
                                 {}};
        for (QAction *a : form.findChildren<QAction *>())
            if (a->isEnabled())
                snap.enabled << a->objectName();
        for (QPushButton *b : form.findChildren<QPushButton *>())
            if (b->isEnabled())
                snap.enabled << b->objectName();
        return snap;
    }

    bool operator==(const MainWindowSnapshot &) const = default;
};

} // namespace

class TestCapture : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutAndMenus_data();
    void layoutAndMenus();
    void showsPictureOverBackground();
    void selection_data();
    void selection();
    void rightButtonPressIsIgnored();
    void outlineFollowsTheMouse();
    void redoRestoresAndKeepsSelection();
    void pictureRemovedMidDrag();
    void showCapturePicture();

    void knownSelectionGivesExactModel();
    void sizeLimitAtImport_data();
    void sizeLimitAtImport();
    void thinSelectionEnablesCommands();
    void colourThreshold();
    void selectionPartlyOutside();
    void importingTwiceReplacesModel();
    void leavingWithoutImport_data();
    void leavingWithoutImport();
    void missingBuhinBmp();

private:
    // Opens the capture window through the main window's command and runs
    // `steps` on it while it is shown modally; closes it if the steps did not.
    void importWith(const std::function<void(Form4 &)> &steps);
    QString writePicture(const char *name, const QImage &image);
    QImage samplePicture() const;

    QTemporaryDir dir_;
    QString picturePath_;
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<Form1> form_;
    QList<MessageRequest> messages_;
};

void TestCapture::initTestCase()
{
    QVERIFY(dir_.isValid());
    picturePath_ = writePicture("sample.bmp", samplePicture());
}

void TestCapture::init()
{
    messages_.clear();
    setMessageHook([this](const MessageRequest &request) {
        messages_ << request;
        return QMessageBox::Ok;
    });
    Form4::setStartPicture(picturePath_);
    state_ = std::make_unique<ProgramState>();
    form_ = std::make_unique<Form1>(*state_);
}

void TestCapture::cleanup()
{
    form_.reset();
    state_.reset();
    setMessageHook({});
    Form4::setStartPicture({});
}

// White 300 x 250 with a few known pixels, smaller than the capture area so
// that the platform background shows right of and below it.
QImage TestCapture::samplePicture() const
{
    QImage image(300, 250, QImage::Format_RGB888);
    image.fill(Qt::white);
    image.setPixel(11, 21, kDark);
    image.setPixel(11, 25, kNavy);
    image.setPixel(14, 22, qRgb(0, 0, 0));
    image.setPixel(20, 22, qRgb(191, 255, 255));
    image.setPixel(21, 22, qRgb(192, 192, 192));
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(299, 249, kNavy);
    return image;
}

QString TestCapture::writePicture(const char *name, const QImage &image)
{
    const QString path = dir_.filePath(QString(name));
    if (!image.save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestCapture::importWith(const std::function<void(Form4 &)> &steps)
{
    const auto run = [&] {
        auto *capture = qobject_cast<Form4 *>(QApplication::activeModalWidget());
        if (!capture) {
            QApplication::closeAllWindows();
            return;
        }
        steps(*capture);
        if (capture->isVisible())
            capture->reject();
    };
    // Posted twice, so that what the window queued while showing runs first.
    QTimer::singleShot(0, form_.get(), [&] { QTimer::singleShot(0, form_.get(), run); });
    form_->mnuBuhin_Click();
}

void TestCapture::layoutAndMenus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char *name, const char *caption, const char *parent, bool enabled) {
        QTest::newRow(name) << QString(name) << QString(caption) << QString(parent) << enabled;
    };
    row("mnuFile", "ファイル(&F)", "", true);
    row("mnuOpen", "開く(&O)", "mnuFile", true);
    row("mnuExit", "終了(&X)", "mnuFile", true);
    row("mnuYarinaosi", "やり直し(&R)", "", false);
    row("mnuTorikomi", "取りこみ(&L)", "", false);
}

void TestCapture::layoutAndMenus()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, parent);
    QFETCH(bool, enabled);

    Form4 capture(*state_, *form_);
    capture.show();
    QVERIFY(QTest::qWaitForWindowExposed(&capture));
    QCOMPARE(capture.windowTitle(), QStringLiteral("ZUVORAK"));
    QCOMPARE(capture.findChild<QWidget *>("client")->size(), QSize(614, 437));
    QCOMPARE(capture.findChild<QWidget *>("client")->y(),
             capture.findChild<QMenuBar *>()->height());
    QCOMPARE(capture.picture1()->geometry(), QRect(16, 8, 585, 417));
    QCOMPARE(capture.picture1()->surface().ScaleWidth(), 581.0f);
    QCOMPARE(capture.picture1()->surface().ScaleHeight(), 413.0f);

    QStringList barOrder;
    for (QAction *a : capture.findChild<QMenuBar *>()->actions())
        barOrder << a->objectName();
    QCOMPARE(barOrder, QStringList({"mnuFile", "mnuYarinaosi", "mnuTorikomi"}));

    QAction *item = action(&capture, qPrintable(name));
    QVERIFY2(item, qPrintable(name));
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->isEnabled(), enabled);
    if (!parent.isEmpty())
        QVERIFY(action(&capture, qPrintable(parent))->menu()->actions().contains(item));
}

void TestCapture::showsPictureOverBackground()
{
    Form4 capture(*state_, *form_);
    QCOMPARE(QString::fromStdString(state_->capturePicturePath), picturePath_);
    const PictureBox *box = capture.picture1();
    QCOMPARE(colourAt(box, 11, 21), QColor(kDark));
    QCOMPARE(colourAt(box, 299, 249), QColor(kNavy));
    QCOMPARE(colourAt(box, 1, 1), QColor(Qt::white));
    for (const QColor background : {colourAt(box, 300, 0), colourAt(box, 580, 412)}) {
        QVERIFY2(background.red() >= 192 && background.green() >= 192 && background.blue() >= 192,
                 qPrintable(background.name()));
        QVERIFY(background != QColor(Qt::white));
    }
    QVERIFY(messages_.isEmpty());
}

void TestCapture::selection_data()
{
    QTest::addColumn<QList<Drag>>("drags");
    QTest::addColumn<Selection>("expected");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("press and release at one point")
        << QList<Drag> {{{40, 50}, {40, 50}}} << Selection {40, 50, 40, 50} << false;
    QTest::newRow("lower right to upper left is ordered")
        << QList<Drag> {{{110, 60}, {10, 20}}} << Selection {10, 20, 110, 60} << false;
    QTest::newRow("halves round to even")
        << QList<Drag> {{{2.5, 3.5}, {10.5, 11.5}}} << Selection {2, 4, 10, 12} << false;
    QTest::newRow("corners outside the picture are kept")
        << QList<Drag> {{{-7.2, 5}, {600.4, 420}}} << Selection {-7, 5, 600, 420} << true;
    QTest::newRow("190 x 190 is within the limit")
        << QList<Drag> {{{10, 10}, {200, 200}}} << Selection {10, 10, 200, 200} << false;
    QTest::newRow("191 across is too large")
        << QList<Drag> {{{10, 10}, {201, 200}}} << Selection {10, 10, 201, 200} << true;
    QTest::newRow("191 down is too large")
        << QList<Drag> {{{10, 10}, {200, 201}}} << Selection {10, 10, 200, 201} << true;
    QTest::newRow("a later drag within the limit clears the flag")
        << QList<Drag> {{{0, 0}, {300, 300}}, {{5, 5}, {50, 50}}} << Selection {5, 5, 50, 50}
        << false;
}

void TestCapture::selection()
{
    QFETCH(QList<Drag>, drags);
    QFETCH(Selection, expected);
    QFETCH(bool, tooLarge);
    Form4 capture(*state_, *form_);
    for (const Drag &d : drags)
        drag(capture, d);
    const Selection actual = capture.selection();
    QCOMPARE(QList<int>({actual.startX, actual.startY, actual.endX, actual.endY}),
             QList<int>({expected.startX, expected.startY, expected.endX, expected.endY}));
    QCOMPARE(capture.isSelectionTooLarge(), tooLarge);
    QVERIFY(!capture.isDragging());
    QVERIFY(action(&capture, "mnuTorikomi")->isEnabled());
    QVERIFY(action(&capture, "mnuYarinaosi")->isEnabled());
}

void TestCapture::rightButtonPressIsIgnored()
{
    Form4 capture(*state_, *form_);
    drag(capture, {{100, 80}, {30, 40}});
    const QImage outlined = capture.picture1()->surface().image();

    // A right click selects from the old left and top edges, without drawing.
    capture.Picture1_MouseDown(2, 0, 300, 300);
    QVERIFY(!capture.isDragging());
    capture.Picture1_MouseMove(2, 0, 250, 250);
    capture.Picture1_MouseUp(2, 0, 250, 250);
    const Selection s = capture.selection();
    QCOMPARE(QList<int>({s.startX, s.startY, s.endX, s.endY}), QList<int>({30, 40, 250, 250}));
    QVERIFY(capture.isSelectionTooLarge());
    QCOMPARE(capture.picture1()->surface().image(), outlined);

    // A shifted left press is not "the left button alone" either.
    Form4 fresh(*state_, *form_);
    fresh.Picture1_MouseDown(3, 0, 10, 10);
    QVERIFY(!fresh.isDragging());
    QVERIFY(!action(&fresh, "mnuTorikomi")->isEnabled());
}

void TestCapture::outlineFollowsTheMouse()
{
    Form4 capture(*state_, *form_);
    const PictureBox *box = capture.picture1();
    const QImage picture = box->surface().image();
    capture.Picture1_MouseDown(1, 0, 50, 60);
    capture.Picture1_MouseMove(1, 0, 10, 20);
    capture.Picture1_MouseMove(1, 0, 80, 90); // erases the first outline

    QImage expected = picture;
    for (int x = 50; x <= 80; ++x) {
        expected.setPixel(x, 60, qRgb(0, 0, 255));
        expected.setPixel(x, 90, qRgb(0, 0, 255));
    }
    for (int y = 60; y <= 90; ++y) {
        expected.setPixel(50, y, qRgb(0, 0, 255));
        expected.setPixel(80, y, qRgb(0, 0, 255));
    }
    QCOMPARE(box->surface().image(), expected);
    QVERIFY(capture.isDragging());
}

void TestCapture::redoRestoresAndKeepsSelection()
{
    Form4 capture(*state_, *form_);
    const QImage picture = capture.picture1()->surface().image();
    drag(capture, {{5, 5}, {250, 100}});
    QVERIFY(capture.isSelectionTooLarge());
    capture.mnuYarinaosi_Click();
    QCOMPARE(capture.picture1()->surface().image(), picture);
    QVERIFY(!action(&capture, "mnuYarinaosi")->isEnabled());
    QVERIFY(action(&capture, "mnuTorikomi")->isEnabled());
    QCOMPARE(capture.selection().endX, qint16(250));
    QVERIFY(capture.isSelectionTooLarge());
}

void TestCapture::pictureRemovedMidDrag()
{
    const QString path = writePicture("vanishing.bmp", samplePicture());
    Form4::setStartPicture(path);
    Form4 capture(*state_, *form_);
    capture.Picture1_MouseDown(1, 0, 5, 5);
    QVERIFY(QFile::remove(path));
    capture.Picture1_MouseMove(1, 0, 30, 30);
    QCOMPARE(colourAt(capture.picture1(), 11, 21), QColor(kDark));
    QCOMPARE(colourAt(capture.picture1(), 30, 30), QColor(Qt::blue));
    QVERIFY(messages_.isEmpty());
}

void TestCapture::showCapturePicture()
{
    Form4 capture(*state_, *form_);
    drag(capture, {{5, 5}, {40, 40}});
    QImage other(20, 10, QImage::Format_RGB888);
    other.fill(Qt::black);
    const QString otherPath = writePicture("other.bmp", other);

    QVERIFY(capture.showCapturePicture(otherPath));
    QCOMPARE(QString::fromStdString(state_->capturePicturePath), otherPath);
    QCOMPARE(colourAt(capture.picture1(), 19, 9), QColor(Qt::black));
    QVERIFY(colourAt(capture.picture1(), 20, 9) != QColor(Qt::black));
    QCOMPARE(capture.selection().endX, qint16(40));

    QFile garbage(dir_.filePath("garbage.bmp"));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM not really a bitmap");
    garbage.close();
    const QImage before = capture.picture1()->surface().image();
    QVERIFY(!capture.showCapturePicture(garbage.fileName()));
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].text.contains(QDir::toNativeSeparators(garbage.fileName())));
    QCOMPARE(messages_[0].title, QStringLiteral("エラーメッセージ"));
    QCOMPARE(QString::fromStdString(state_->capturePicturePath), otherPath);
    QCOMPARE(capture.picture1()->surface().image(), before);
}

void TestCapture::knownSelectionGivesExactModel()
{
    form_->findChild<QLabel *>("Lsu1")->setText("30");
    importWith([](Form4 &capture) {
        capture.Picture1_MouseDown(1, 0, 15, 26);
        capture.Picture1_MouseMove(1, 0, 10, 20);
        capture.Picture1_MouseUp(1, 0, 10, 20);
        capture.mnuTorikomi_Click();
        QVERIFY(!capture.isVisible());
    });

    QCOMPARE(state_->importReady, quint8(1));
    QCOMPARE(state_->importWidth.value(), 5.0);
    QCOMPARE(state_->importHeight, qint16(4));
    // Capture (11, 21) is staged at (1, 0), which lands at (-42, 43) in a
    // 261-pixel view centred at 130; the outline's columns are left out.
    QCOMPARE(state_->pointCount, 3);
    const QList<QList<double>> expected = {
        {0, -42, 43, double(0x141496)},
        {0, -42, 39, double(0x781E14)},
        {0, -39, 42, 0},
    };
    QList<QList<double>> actual;
    for (int n = 0; n < state_->pointCount; ++n)
        actual << QList<double> {state_->modelPoints[n][Depth], state_->modelPoints[n][Horizontal],
                                 state_->modelPoints[n][Vertical], double(state_->pointColors[n])};
    QCOMPARE(actual, expected);

    const PictureBox *staging = form_->picture2();
    QCOMPARE(colourAt(staging, 1, 0), QColor(kDark));
    QCOMPARE(colourAt(staging, 0, 0), QColor(Qt::white));
    QCOMPARE(colourAt(staging, 4, 3), QColor(Qt::white));
    QCOMPARE(colourAt(staging, 5, 0), QColor(Qt::white)); // the right outline column

    QCOMPARE(form_->findChild<QLabel *>("Lsu1")->text(), QStringLiteral("0"));
    QCOMPARE(form_->findChild<QLabel *>("Lsu2")->text(), QStringLiteral("0"));
    // Drawn unturned, a third of the view's size from its top-left corner.
    const PictureBox *view = form_->picture1();
    QCOMPARE(colourAt(view, 88, 87), QColor(kDark));
    QCOMPARE(colourAt(view, 88, 91), QColor(kNavy));
    QCOMPARE(colourAt(view, 91, 88), QColor(Qt::black));
    QCOMPARE(colourAt(view, 87, 87), QColor(Qt::white));
    for (const char *name : {"mnuKaiten", "mnuSayuu", "mnuSaveAs", "mnuSave", "mnuBmp"})
        QVERIFY2(action(form_.get(), name)->isEnabled(), name);
    for (const char *name : {"Coku", "Cokd", "Cokl", "Cokr", "Coku2", "Cokd2", "Cokl2", "Cokr2",
                             "Cosyoumen", "Coanime", "Copu", "Copd", "Copl", "Copr"})
        QVERIFY2(form_->findChild<QPushButton *>(name)->isEnabled(), name);
    QVERIFY(!action(form_.get(), "mnuYarinaosi")->isEnabled());
    QVERIFY(!form_->findChild<QPushButton *>("Command27")->isEnabled());
}

void TestCapture::sizeLimitAtImport_data()
{
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<bool>("refused");
    QTest::newRow("190 x 190 imports") << QPoint(200, 200) << false;
    QTest::newRow("191 across is refused") << QPoint(201, 200) << true;
    QTest::newRow("191 down is refused") << QPoint(200, 201) << true;
}

void TestCapture::sizeLimitAtImport()
{
    QFETCH(QPoint, end);
    QFETCH(bool, refused);
    bool stayedOpen = false;
    bool importStillEnabled = false;
    bool redoDisabled = false;
    QImage restored;
    QImage picture;
    importWith([&](Form4 &capture) {
        picture = capture.picture1()->surface().image();
        drag(capture, {{10, 10}, end});
        capture.mnuTorikomi_Click();
        stayedOpen = capture.isVisible();
        importStillEnabled = action(&capture, "mnuTorikomi")->isEnabled();
        redoDisabled = !action(&capture, "mnuYarinaosi")->isEnabled();
        restored = capture.picture1()->surface().image();
    });

    QCOMPARE(stayedOpen, refused);
    QCOMPARE(state_->importReady, quint8(refused ? 0 : 1));
    if (refused) {
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, QStringLiteral("指定範囲が大きすぎます"));
        QCOMPARE(messages_[0].title, QStringLiteral("エラーメッセージ"));
        QCOMPARE(messages_[0].icon, QMessageBox::Warning);
        QCOMPARE(messages_[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(importStillEnabled);
        QVERIFY(redoDisabled);
        QCOMPARE(restored, picture);
        QCOMPARE(state_->pointCount, 0);
    } else {
        QVERIFY(messages_.isEmpty());
        QCOMPARE(state_->importHeight, qint16(188));
        // Inside: capture x 11..199, y 11..199, of which x = 199 is clipped on
        // Picture2; the sample has four dark pixels in there.
        QCOMPARE(state_->pointCount, 4);
    }
}

void TestCapture::thinSelectionEnablesCommands()
{
    importWith([](Form4 &capture) {
        drag(capture, {{10, 20}, {60, 21}});
        capture.mnuTorikomi_Click();
    });
    QCOMPARE(state_->importReady, quint8(1));
    QCOMPARE(state_->pointCount, 0);
    QVERIFY(form_->findChild<QPushButton *>("Cosyoumen")->isEnabled());
    QVERIFY(action(form_.get(), "mnuSave")->isEnabled());
}

void TestCapture::colourThreshold()
{
    // Only (20, 22) of these two neighbours, 191 red on full green and blue, is a point.
    importWith([](Form4 &capture) {
        drag(capture, {{18, 21}, {23, 23}});
        capture.mnuTorikomi_Click();
    });
    QCOMPARE(state_->pointCount, 1);
    QCOMPARE(state_->pointColors[0], Colour(191 | 255 << 8 | 255 << 16));
    QCOMPARE(state_->modelPoints[0][Horizontal], 2.0 - 130.0 + 87.0);
}

void TestCapture::selectionPartlyOutside()
{
    importWith([](Form4 &capture) {
        capture.Picture1_MouseDown(1, 0, -5, -5);
        capture.Picture1_MouseMove(1, 0, 12, 12);
        capture.Picture1_MouseUp(1, 0, 12, 12);
        capture.mnuTorikomi_Click();
    });
    // Only the sample's black pixel at (0, 0) lies inside; it is staged at (5, 4).
    QCOMPARE(state_->pointCount, 1);
    QCOMPARE(state_->pointColors[0], Colour(0));
    QCOMPARE(colourAt(form_->picture2(), 5, 4), QColor(Qt::black));
    QCOMPARE(colourAt(form_->picture2(), 4, 4), QColor(Qt::white));
}

void TestCapture::importingTwiceReplacesModel()
{
    importWith([](Form4 &capture) {
        drag(capture, {{0, 0}, {300, 250}});
        capture.mnuTorikomi_Click(); // too large: refused, then a smaller one
        drag(capture, {{10, 20}, {15, 26}});
        capture.mnuTorikomi_Click();
    });
    QCOMPARE(state_->pointCount, 3);
    form_->findChild<QLabel *>("Lsu2")->setText("45");

    importWith([](Form4 &capture) {
        drag(capture, {{300, 250}, {290, 240}});
        capture.mnuTorikomi_Click();
    });
    QCOMPARE(state_->pointCount, 1);
    QCOMPARE(state_->pointColors[0], Colour(20 | 30 << 8 | 120 << 16));
    QCOMPARE(colourAt(form_->picture2(), 1, 0), QColor(Qt::white));
    QCOMPARE(form_->findChild<QLabel *>("Lsu2")->text(), QStringLiteral("0"));
}

void TestCapture::leavingWithoutImport_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Exit") << 0;
    QTest::newRow("close box") << 1;
    QTest::newRow("Escape key") << 2;
}

void TestCapture::leavingWithoutImport()
{
    QFETCH(int, way);
    importWith([](Form4 &capture) {
        drag(capture, {{10, 20}, {15, 26}});
        capture.mnuTorikomi_Click();
    });
    form_->findChild<QLabel *>("Lsu1")->setText("20");
    const MainWindowSnapshot before = MainWindowSnapshot::of(*form_);

    bool closed = false;
    importWith([&](Form4 &capture) {
        drag(capture, {{0, 0}, {40, 40}});
        if (way == 0)
            capture.mnuExit_Click();
        else if (way == 1)
            capture.close();
        else
            QTest::keyClick(&capture, Qt::Key_Escape);
        closed = !capture.isVisible();
    });
    QVERIFY(closed);
    QCOMPARE(state_->importReady, quint8(0));
    QVERIFY(MainWindowSnapshot::of(*form_) == before);
    QCOMPARE(form_->findChild<QLabel *>("Lsu1")->text(), QStringLiteral("20"));
}

void TestCapture::missingBuhinBmp()
{
    Form4::setStartPicture({});
    const QString expectedPath = QDir(programFolder()).filePath("buhin.bmp");
    if (QFileInfo::exists(shippedFile("buhin.bmp")))
        QSKIP("a buhin.bmp is installed where the test would miss it");

    int messagesWhileOpen = -1;
    QColor shown;
    importWith([&](Form4 &capture) {
        messagesWhileOpen = int(messages_.size());
        shown = colourAt(capture.picture1(), 0, 0);
        drag(capture, {{10, 10}, {60, 60}});
        capture.mnuTorikomi_Click();
    });

    QCOMPARE(QString::fromStdString(state_->capturePicturePath), expectedPath);
    QCOMPARE(messagesWhileOpen, 1);
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].text.contains(QDir::toNativeSeparators(expectedPath)),
             qPrintable(messages_[0].text));
    QVERIFY(messages_[0].text.contains(QStringLiteral("ファイルが見つかりません")));
    QCOMPARE(messages_[0].title, QStringLiteral("エラーメッセージ"));
    QVERIFY(shown.red() >= 192 && shown != QColor(Qt::white));

    // The import still runs: the background gives no points.
    QCOMPARE(state_->importReady, quint8(1));
    QCOMPARE(state_->pointCount, 0);
    QVERIFY(form_->findChild<QPushButton *>("Coanime")->isEnabled());
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestCapture test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_capture.moc"
