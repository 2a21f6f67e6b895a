#include "file_faults.h"
#include "messages.h"
#include "platform.h"
#include "readers.h"
#include "turntable_dialog.h"
#include "window_test.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>

#include <optional>
#include <random>

namespace {

const QString kWebp = "アニメーション WebP (*.webp)";
const QString kGif = "アニメーション GIF (*.gif)";
const QString kFolder = "PNG 連番画像の新しいフォルダー (*/)";

// Points in six colours, so that a GIF keeps every frame exactly.
Model sixColours(int count)
{
    Model model;
    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(-95, 95);
    for (int i = 0; i < count; ++i) {
        model.points.push_back({double(coordinate(random) / 2), double(coordinate(random)),
                                double(coordinate(random))});
        model.colours.push_back(Colour(0x2a2a2a * (i % 6)));
    }
    return model;
}

// The turntable's options, set after `before` runs.
Step options(
    int pointSize, bool swing, int frames = 12, int size = 96,
    const std::function<void()> &before = [] {}, bool aboutCentre = false)
{
    return [=](QDialog *dialog) {
        before();
        child<QCheckBox>(dialog, "aboutCentre")->setChecked(aboutCentre);
        child<QComboBox>(dialog, "motion")->setCurrentIndex(swing ? 1 : 0);
        child<QSpinBox>(dialog, "frames")->setValue(frames);
        child<QSpinBox>(dialog, "size")->setValue(size);
        child<QSpinBox>(dialog, "pointSize")->setValue(pointSize);
        child<QCheckBox>(dialog, "shading")->setChecked(pointSize == 2);
        dialog->accept();
    };
}

// Types `path` into Qt's save dialog, then chooses `filter` in its list, and saves; the name
// shown must have followed the kind to `shown`.
Step typeThenChoose(const QString &path, const QString &filter, const QString &shown)
{
    return [=](QDialog *dialog) {
        auto *name = child<QLineEdit>(dialog, "fileNameEdit");
        name->setText(path);
        static_cast<QFileDialog *>(dialog)->selectNameFilter(filter);
        emit static_cast<QFileDialog *>(dialog)->filterSelected(filter); // as the list does
        QCOMPARE(name->text(), shown);
        dialog->accept();
    };
}

} // namespace

class TestTurntable : public QObject, WithProgram {
    Q_OBJECT

private slots:
    void init() { start(); }

    // The export menu needs points; the kind chosen in the list is the kind written, under a
    // name whose extension follows it; PIL reads every frame, and the first two are what the
    // large view shows at their angles; about the model's middle, a model far off the view's
    // centre fills every frame, clear of its edges.
    void readBack_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("typedFirst"); // else chosen first
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("pointSize"); // shaded above 1
        QTest::addColumn<int>("step"); // the turn between frames; 5: the swing
        QTest::addColumn<bool>("aboutCentre");
        QTest::newRow("webp chosen, then spin.gif typed: a WebP; 12 frames of 30 degrees, shaded")
            << kWebp << false << "spin.gif" << QString("spin.webp") << 2 << 30 << false;
        QTest::newRow("spin.webp typed, then gif chosen: a GIF, every frame exact")
            << kGif << true << "spin.webp" << QString("spin.gif") << 1 << 30 << false;
        QTest::newRow("frames.gif typed, then png folder: the swing's 36 views as frames")
            << kFolder << true << "frames.gif" << QString("frames") << 3 << 5 << false;
        QTest::newRow("about the model's middle: the whole model in every frame")
            << kWebp << false << "centred" << QString("centred.webp") << 3 << 30 << true;
    }
    void readBack()
    {
        QFETCH(QString, filter);
        QFETCH(bool, typedFirst);
        QFETCH(QString, name);
        QFETCH(QString, written);
        QFETCH(int, pointSize);
        QFETCH(int, step);
        QFETCH(bool, aboutCentre);
        QTemporaryDir dir;
        QAction *exports = child<QAction>(window(), "exportMenuAction");
        document().importModel({});
        QVERIFY(!exports->isEnabled());
        document().importModel(sixColours(3000));
        QVERIFY(exports->isEnabled());
        if (aboutCentre)
            document().move(300, -200);
        const bool swing = step == 5;
        if (swing)
            click(window(), "frontView");
        else
            viewState().turnBy(40, -15);
        QCOMPARE(stepThrough(
                     [&] { trigger(window(), "turntableAction"); },
                     {typedFirst ? typeThenChoose(dir.filePath(name), filter, dir.filePath(written))
                                 : qtSaveAs(dir.filePath(name), filter),
                      options(
                          pointSize, swing, 12, 96, [] {}, aboutCentre)}),
                 2);
        QCOMPARE(entries(dir.path()), QStringList {written});
        const ReadBack read = ::readBack("frames", dir.filePath(written));
        REQUIRE_READ(read);
        const QString format = written.section('.', 1).toUpper();
        QCOMPARE(read.seen["formats"].toArray(), QJsonArray {swing ? "PNG" : format});
        QCOMPARE(read.pixels.size(), (swing ? 36 : 12) * 96 * 96 * 4); // every frame 96 x 96
        if (swing)
            QCOMPARE(read.seen["names"].toArray().last().toString(), "frame-035.png");
        else
            QCOMPARE(read.seen["durations"][0].toInt(), 100);
        for (int frame = 0; frame < 12 && aboutCentre; ++frame) {
            const QImage image = read.frame(frame, 96, 96);
            const QRect inner = image.rect().adjusted(2, 2, -2, -2);
            int inside = 0;
            for (int y = 0; y < 96; ++y)
                for (int x = 0; x < 96; ++x)
                    if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                        QVERIFY2(inner.contains(x, y), qPrintable(QString("%1 %2").arg(x).arg(y)));
                        ++inside;
                    }
            QVERIFY(inside > 96 * 96 / 4); // drawn large, not as the fitted view's speck
        }
        if (aboutCentre)
            return;
        QSettings settings = settingsFile();
        settings.setValue("largeView/pointSize", pointSize);
        settings.setValue("largeView/shading", pointSize == 2);
        for (int frame : {0, 1}) {
            viewState().turnBy(frame * step, 0);
            QVERIFY(samePicture(read.frame(frame, 96, 96),
                                openLargeView(window(), {96, 96})->surface().image(),
                                QString("frame-%1").arg(frame)));
        }
    }

    // A cancelled or failed export leaves nothing behind; a failure says which file and why.
    void nothingLeftBehind_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("error"); // 0: no message
        for (const QString &filter : {kWebp, kFolder}) {
            const char *kind = filter == kWebp ? "webp" : "png folder";
            QTest::addRow("cancelled, %s", kind) << "cancel" << filter << 0;
            QTest::addRow("read-only folder, %s", kind) << "read-only" << filter << EACCES;
            QTest::addRow("full disk, %s", kind) << "full" << filter << EFBIG;
        }
        QTest::newRow("folder gone after the choice") << "gone" << kWebp << ENOENT;
    }
    void nothingLeftBehind()
    {
        QFETCH(QString, fault);
        QFETCH(QString, filter);
        QFETCH(int, error);
        QTemporaryDir dir;
        const QString folder = dir.filePath("in");
        QVERIFY(QDir().mkdir(folder));
        document().importModel(sixColours(fault == "cancel" ? kMaxPoints : 3000));
        MessageBoxes messages;
        std::optional<FileSizeLimit> limit;
        const auto before = [&] {
            if (fault == "gone")
                QDir(folder).removeRecursively();
            if (fault == "read-only") { // root writes into read-only folders: act as nobody
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                  | QFile::ExeOther);
                QVERIFY(::geteuid() != 0 || ::seteuid(65534) == 0);
            }
            if (fault == "full")
                limit.emplace(100); // less than any frame
        };
        const bool cancel = fault == "cancel";
        std::vector<Step> steps
            = {qtSaveAs(folder + "/spin", filter),
               options(1, false, cancel ? 120 : 12, cancel ? 1024 : 96, before)};
        if (cancel) // seconds of work on any machine: the progress shows
            steps.push_back(
                [](QDialog *dialog) { static_cast<QProgressDialog *>(dialog)->cancel(); });
        stepThrough([&] { trigger(window(), "turntableAction"); }, steps);
        limit.reset();
        QVERIFY(::getuid() != 0 || ::seteuid(0) == 0);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(entries(folder), QStringList());
        QCOMPARE(messages.shown.size(), qsizetype(error != 0));
        if (error)
            QVERIFY2(messages.shown[0].text.startsWith("ファイル " + folder + "/spin"
                                                       + (filter == kWebp ? ".webp" : "")
                                                       + " に書き込めません。\n")
                         && messages.shown[0].text.contains(systemErrorText(error)),
                     qPrintable(messages.shown[0].text));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestTurntable)
#include "tst_turntable.moc"
