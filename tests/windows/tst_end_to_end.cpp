#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstring>
#include <vector>

namespace {

struct ExpectedPoint {
    Coords coords;
    Colour colour;
};

// The sample picture the walk starts from: dark shapes in three colours on white.
QImage samplePicture()
{
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 40; y < 60; ++y)
        for (int x = 50; x < 80; ++x)
            picture.setPixel(x, y, qRgb(200, 20, 20));
    for (int y = 62; y < 80; ++y)
        for (int x = 90; x < 100; ++x)
            picture.setPixel(x, y, qRgb(10, 30, 160));
    for (int x = 45; x < 110; ++x)
        picture.setPixel(x, 85, qRgb(0, 0, 0));
    picture.setPixel(60, 70, qRgb(191, 255, 255)); // just dark enough
    picture.setPixel(61, 70, qRgb(192, 192, 192)); // light grey: background
    return picture;
}

Colour colourAt(const QImage &image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16;
}

// What importing the rectangle (left, top)-(right, bottom) of `picture` must
// give, worked out from the picture itself: the inside of the outline, staged
// from x = 1 and y = 0, taken column by column, shifted by a third of the view.
std::vector<ExpectedPoint> expectedImport(const QImage &picture, int left, int top, int right,
                                          int bottom)
{
    std::vector<ExpectedPoint> points;
    for (int j = 1; j < right - left; ++j) {
        for (int i = 0; i <= bottom - top - 2; ++i) {
            const Colour c = colourAt(picture, left + j, top + 1 + i);
            const int red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
            if (red < 192 || green < 192 || blue < 192)
                points.push_back({{0.0, double(j - 130 + 87), double(130 - i - 87)}, c});
        }
    }
    return points;
}

} // namespace

// The typical use from the first click to the saved files, through the
// windows' own handlers, checked at every step.
class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void typicalUse();

private:
    static QString caption(Form1 &form, const char *name) { return captionOf(&form, name); }
    static bool enabled(Form1 &form, const char *name) { return isEnabled(&form, name); }
    static void checkModelCommandsEnabled(Form1 &form)
    {
        for (const QString &name : modelCommands())
            QVERIFY2(isEnabled(&form, name), qPrintable(name));
    }

    QTemporaryDir dir_;
};

void TestEndToEnd::initTestCase()
{
    QVERIFY(dir_.isValid());
    QVERIFY(QDir::setCurrent(dir_.path())); // where the dialogs start
    QVERIFY(samplePicture().save(dir_.filePath(QStringLiteral("buhin.bmp"))));
    Form4::setStartPicture(dir_.filePath(QStringLiteral("buhin.bmp")));
    setMessageHook([](const MessageRequest &request) {
        qWarning("unexpected message box: %s", qPrintable(request.text));
        return QMessageBox::No;
    });
}

void TestEndToEnd::typicalUse()
{
    auto state = std::make_unique<ProgramState>();
    Form1 form(*state);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage picture = samplePicture();

    // 1-2. Capture window: drag a rectangle and import it.
    withModal<Form4>([&] { form.mnuBuhin_Click(); },
                     [](Form4 *capture) {
                         capture->Picture1_MouseDown(1, 0, 120.4f, 90.0f);
                         capture->Picture1_MouseMove(1, 0, 40.0f, 30.0f);
                         // 29.5 rounds to 30: halves go to even.
                         capture->Picture1_MouseUp(1, 0, 40.0f, 29.5f);
                         capture->mnuTorikomi_Click();
                     });
    const std::vector<ExpectedPoint> expected = expectedImport(picture, 40, 30, 120, 90);
    QCOMPARE(state->importReady, std::uint8_t(1));
    QCOMPARE(state->pointCount, std::int32_t(expected.size()));
    QVERIFY(state->pointCount > 500);
    for (std::size_t n = 0; n < expected.size(); ++n) {
        QCOMPARE(state->modelPoints[n], expected[n].coords);
        QCOMPARE(state->pointColors[n], expected[n].colour);
    }
    for (int j = 1; j < 80; ++j)
        QCOMPARE(form.picture2()->surface().Point(float(j), 10.0f), colourAt(picture, 40 + j, 41));
    QCOMPARE(caption(form, "Lsu1"), QStringLiteral("0"));
    checkModelCommandsEnabled(form);
    QVERIFY(!enabled(form, "mnuYarinaosi"));
    // The front view shows each staged pixel shifted by a third of the view.
    QCOMPARE(form.picture1()->surface().Point(87 + 20, 87 + 15), colourAt(picture, 60, 46));

    // 3. Raise the red block with the depth tool.
    form.findChild<QScrollBar *>("HScroll1")->setValue(40);
    // The red block is drawn at (97, 96) .. (126, 115); the outline runs just outside it.
    form.Picture1_MouseDown(1, 0, 96, 95);
    form.Picture1_MouseMove(1, 0, 127, 116);
    form.Picture1_MouseUp(1, 0, 127, 116);
    QVERIFY(enabled(form, "Command27"));
    form.Command27_Click();
    QVERIFY(!enabled(form, "Command27"));
    int raised = 0;
    for (std::int32_t n = 0; n < state->pointCount; ++n) {
        const bool red = state->pointColors[n] == 0x1414C8;
        QCOMPARE(state->modelPoints[n][Depth], red ? 40.0 : 0.0);
        raised += red;
    }
    QCOMPARE(raised, 30 * 20);

    // 4. Turn with the buttons: the raised block swings left of the flat parts.
    const QImage front = form.picture1()->surface().image();
    for (int click = 0; click < 3; ++click)
        form.Cokl2_Click();
    form.Coku_Click();
    QCOMPARE(caption(form, "Lsu1"), QStringLiteral("15"));
    QCOMPARE(caption(form, "Lsu2"), QStringLiteral("1"));
    QVERIFY(form.picture1()->surface().image() != front);
    for (std::int32_t n = 0; n < state->pointCount; ++n) {
        const double expectedShift = state->modelPoints[n][Depth] == 40.0 ? -40 * 0.2588 : 0.0;
        const double horizontal = state->modelPoints[n][Horizontal] * 0.9659 + expectedShift;
        QVERIFY(qAbs(state->viewPoints[n][Horizontal] - horizontal) < 0.02);
    }

    // 5. A few animation ticks, then stop.
    form.Coanime_Click();
    QCOMPARE(form.findChild<QPushButton *>("Coanime")->text(), QStringLiteral("アニメを止める"));
    for (int tick = 0; tick < 3; ++tick)
        form.Timer1_Timer();
    QCOMPARE(caption(form, "Lsu1"), QStringLiteral("10"));
    QCOMPARE(caption(form, "Lsu2"), QStringLiteral("0"));
    form.Coanime_Click();
    QCOMPARE(form.findChild<QPushButton *>("Coanime")->text(), QStringLiteral("アニメーション"));

    // 6. Turn 90 degrees, mirror and move: (x, y) becomes (y + 10, x + 10).
    const auto before = std::make_unique<ProgramState>(*state);
    form.mnuKaiten_Click();
    form.mnuSayuu_Click();
    form.Copr_Click();
    form.Copu_Click();
    for (std::int32_t n = 0; n < state->pointCount; ++n) {
        const Coords &was = before->modelPoints[n];
        QCOMPARE(state->modelPoints[n],
                 (Coords {was[Depth], was[Vertical] + 10.0, was[Horizontal] + 10.0}));
    }
    QVERIFY(state->pointColors == before->pointColors);
    QCOMPARE(caption(form, "Lsu1"), QStringLiteral("0"));
    const QImage shownView = form.picture1()->surface().image();

    // 7. Save the model and the view.
    withModal<Form2>(
        [&] { form.mnuSaveAs_Click(); },
        [](Form2 *dialog) {
            dialog->findChild<QLineEdit *>("txtTargetFile")->setText(QStringLiteral("relief"));
            dialog->Command1_Click();
        });
    const QString modelPath = dir_.filePath(QStringLiteral("relief.chs"));
    QCOMPARE(QString::fromStdString(state->currentFileName), modelPath);
    QCOMPARE(form.windowTitle(), QStringLiteral("relief.chs - ZUVORAK"));
    // The records, then the colour block: tag, count, colours and CRC. Its bits are
    // checked when the file is opened again below.
    QCOMPARE(QFileInfo(modelPath).size(), 4 + 24 * state->pointCount + 12 + 4 * state->pointCount);

    withModal<Form2>(
        [&] { form.mnuBmp_Click(); },
        [](Form2 *dialog) {
            dialog->findChild<QLineEdit *>("txtTargetFile")->setText(QStringLiteral("view"));
            dialog->Command1_Click();
        });
    QCOMPARE(form.windowTitle(), QStringLiteral("relief.chs - ZUVORAK"));
    const QImage savedView(dir_.filePath(QStringLiteral("view.bmp")));
    QCOMPARE(savedView.size(), QSize(261, 261));
    QCOMPARE(savedView.convertToFormat(QImage::Format_RGB32), shownView);

    // 8. Open the model again in a fresh program.
    auto fresh = std::make_unique<ProgramState>();
    Form1 reopened(*fresh);
    reopened.show();
    QVERIFY(QTest::qWaitForWindowExposed(&reopened));
    withModal<Form3>([&] { reopened.mnuOpen_Click(); },
                     [](Form3 *dialog) {
                         auto *files = dialog->findChild<QListWidget *>("File1");
                         const auto items
                             = files->findItems(QStringLiteral("relief.chs"), Qt::MatchExactly);
                         QCOMPARE(items.size(), 1);
                         files->setCurrentItem(items.first());
                     });
    QCOMPARE(fresh->pointCount, state->pointCount);
    QCOMPARE(std::memcmp(fresh->modelPoints.data(), state->modelPoints.data(),
                         sizeof(Coords) * std::size_t(state->pointCount)),
             0);
    QCOMPARE(std::memcmp(fresh->pointColors.data(), state->pointColors.data(),
                         sizeof(Colour) * std::size_t(state->pointCount)),
             0);
    QCOMPARE(QString::fromStdString(fresh->currentFileName), modelPath);
    QCOMPARE(reopened.windowTitle(), QStringLiteral("relief.chs- ZUVORAK"));
    QCOMPARE(caption(reopened, "Lsu1"), QStringLiteral("0"));
    QCOMPARE(caption(reopened, "Lsu2"), QStringLiteral("0"));
    checkModelCommandsEnabled(reopened);
    QVERIFY(!enabled(reopened, "mnuYarinaosi"));
    QCOMPARE(reopened.picture1()->surface().image(),
             savedView.convertToFormat(QImage::Format_RGB32));
}

ZUVORAK_WINDOW_TEST_MAIN(TestEndToEnd)
#include "tst_end_to_end.moc"
