#include "platform.h"
#include "large_view.h"
#include "turntable_dialog.h"
#include "window_test.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <random>

#include <sys/resource.h>
#include <unistd.h>

namespace {

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

// Answers the turntable's dialogs as they come up: the file dialog with `name`
// under `filter`, the options with `frames` at `size` pixels, after running
// `beforeOptions`; cancels the progress when told to.
class Answers : public QObject {
public:
    QString filter;
    QString name;
    bool swing = false;
    int frames = 12;
    int size = 96;
    int pointSize = 1;
    bool shading = false;
    bool cancelProgress = false;
    std::function<void()> beforeOptions = [] {};

    Answers() { startTimer(10); }

protected:
    void timerEvent(QTimerEvent *) override
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *files = qobject_cast<QFileDialog *>(modal)) {
            files->selectNameFilter(filter);
            emit files->filterSelected(filter); // as choosing it in the list does
            child<QLineEdit>(files, "fileNameEdit")->setText(name); // typed
            static_cast<QDialog *>(files)->accept();
        } else if (auto *options = qobject_cast<TurntableDialog *>(modal)) {
            beforeOptions();
            child<QComboBox>(options, "motion")->setCurrentIndex(swing ? 1 : 0);
            child<QSpinBox>(options, "frames")->setValue(frames);
            child<QSpinBox>(options, "size")->setValue(size);
            child<QSpinBox>(options, "pointSize")->setValue(pointSize);
            child<QCheckBox>(options, "shading")->setChecked(shading);
            options->accept();
        } else if (auto *progress = qobject_cast<QProgressDialog *>(modal);
                   progress && cancelProgress) {
            progress->cancel();
        }
    }
};

// PIL's view of a turntable file or folder: its facts as JSON, every frame's
// RGBA pixels in `pixels`.
QJsonObject readWithPil(const QString &path, const QString &pixels, QByteArray *complaint)
{
    const char *script
        = "import sys, json, os; from PIL import Image\n"
          "path = sys.argv[1]; sizes = []; durations = []; formats = set()\n"
          "def frames():\n"
          "    if os.path.isdir(path):\n"
          "        for name in sorted(os.listdir(path)): yield Image.open(os.path.join(path, "
          "name))\n"
          "    else:\n"
          "        im = Image.open(path)\n"
          "        for i in range(im.n_frames): im.seek(i); yield im\n"
          "with open(sys.argv[2], 'wb') as out:\n"
          "    for im in frames():\n"
          "        out.write(im.convert('RGBA').tobytes())\n"
          "        formats.add(im.format); sizes.append(im.size)\n"
          "        durations.append(im.info.get('duration'))\n"
          "print(json.dumps({'formats': sorted(formats), 'sizes': sizes, 'durations': durations,\n"
          "                  'names': sorted(os.listdir(path)) if os.path.isdir(path) else []}))\n";
    QProcess reader;
    reader.start("/usr/bin/python3", {"-c", script, path, pixels});
    reader.waitForFinished(60000);
    *complaint = reader.readAllStandardError();
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

QImage frameOf(const QByteArray &pixels, int index, int size)
{
    const qsizetype bytes = qsizetype(size) * size * 4;
    return QImage(reinterpret_cast<const uchar *>(pixels.constData()) + index * bytes, size, size,
                  QImage::Format_RGBA8888)
        .copy();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                  | QDir::NoDotAndDotDot);
}

} // namespace

class TestTurntable : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program_;
    QWidget *window() const { return &program_->window; }
    Document &document() const { return program_->document; }

    // What the large view shows at this size and the document's angles.
    QImage largeView(int size)
    {
        trigger(window(), "largeViewAction");
        LargeView *view = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *large = qobject_cast<LargeView *>(top); large && large->isVisible())
                view = large;
        view->resize(size, size);
        QApplication::processEvents();
        return view->surface().image();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        QSettings(QStringLiteral("zuvorak"), QStringLiteral("zuvorak")).clear();
        program_ = std::make_unique<Program>();
        child<QTimer>(window(), "animationTimer")->stop();
    }
    void cleanup() { program_.reset(); }

    void enabledWithPoints()
    {
        QAction *submenu = child<QAction>(window(), "exportMenuAction");
        QVERIFY(!submenu->isEnabled());
        document().importModel(sixColours(10));
        QVERIFY(submenu->isEnabled());
        document().importModel({});
        QVERIFY(!submenu->isEnabled());
    }

    void readBack_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written"); // relative to the folder
        QTest::addColumn<bool>("swing");
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<bool>("shading");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QPointF>("secondFrame"); // its angles less the first's
        QTest::newRow("webp filter adds .webp; 12 frames of 30 degrees, shaded")
            << "アニメーション WebP (*.webp)"
            << "spin"
            << "spin.webp" << false << 2 << true << "WEBP" << 12 << QPointF(30, 0);
        QTest::newRow("the .gif typed wins over the webp filter; every frame exact")
            << "アニメーション WebP (*.webp)"
            << "spin.gif"
            << "spin.gif" << false << 1 << false << "GIF" << 12 << QPointF(30, 0);
        QTest::newRow("png folder: the swing's 36 views as numbered frames")
            << "PNG 連番画像の新しいフォルダー (*/)"
            << "frames"
            << "frames" << true << 3 << false << "PNG" << 36 << QPointF(5, 0);
    }
    void readBack()
    {
        QFETCH(QString, filter);
        QFETCH(QString, name);
        QFETCH(QString, written);
        QFETCH(bool, swing);
        QFETCH(int, pointSize);
        QFETCH(bool, shading);
        QFETCH(QString, format);
        QFETCH(int, frames);
        QFETCH(QPointF, secondFrame);
        QTemporaryDir dir;
        document().importModel(sixColours(3000));
        if (swing)
            click(window(), "frontView");
        else
            document().turnBy(40, -15);
        {
            Answers answers;
            answers.filter = filter;
            answers.name = dir.filePath(name);
            answers.swing = swing;
            answers.pointSize = pointSize;
            answers.shading = shading;
            trigger(window(), "turntableAction");
        }
        QCOMPARE(entries(dir.path()), QStringList {written});

        QByteArray complaint;
        const QJsonObject read
            = readWithPil(dir.filePath(written), dir.filePath("../pixels"), &complaint);
        if (!QFile::exists("/usr/bin/python3") || complaint.contains("No module named 'PIL'"))
            QSKIP("python3 with PIL is not available");
        QVERIFY2(!read.isEmpty(), complaint.constData());
        QCOMPARE(read["formats"].toArray(), QJsonArray {format});
        QCOMPARE(read["sizes"].toArray().size(), frames);
        for (const QJsonValue size : read["sizes"].toArray())
            QCOMPARE(size.toArray(), QJsonArray({96, 96}));
        if (format == "PNG")
            QCOMPARE(read["names"].toArray().last().toString(), "frame-035.png");
        else
            QCOMPARE(read["durations"].toArray().first().toInt(), 100);

        QFile pixelFile(dir.filePath("../pixels"));
        QVERIFY(pixelFile.open(QIODevice::ReadOnly));
        const QByteArray pixels = pixelFile.readAll();
        pixelFile.remove();
        QSettings(QStringLiteral("zuvorak"), QStringLiteral("zuvorak"))
            .setValue("largeView/pointSize", pointSize);
        QSettings(QStringLiteral("zuvorak"), QStringLiteral("zuvorak"))
            .setValue("largeView/shading", shading);
        QVERIFY(samePicture(frameOf(pixels, 0, 96), largeView(96), "first"));
        document().turnBy(secondFrame.x(), secondFrame.y());
        QVERIFY(samePicture(frameOf(pixels, 1, 96), largeView(96), "second"));
    }

    void cancelLeavesNothing_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::newRow("webp") << "アニメーション WebP (*.webp)";
        QTest::newRow("png folder") << "PNG 連番画像の新しいフォルダー (*/)";
    }
    void cancelLeavesNothing()
    {
        QFETCH(QString, filter);
        QTemporaryDir dir;
        document().importModel(sixColours(kMaxPoints));
        MessageBoxes messages;
        Answers answers;
        answers.filter = filter;
        answers.name = dir.filePath("spin");
        answers.frames = 120; // seconds of work on any machine: the progress shows
        answers.size = 1024;
        answers.cancelProgress = true;
        trigger(window(), "turntableAction");
        QCOMPARE(entries(dir.path()), QStringList());
        QCOMPARE(messages.shown.size(), 0);
    }

    void faultsGiveTheMessage_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("error");
        const QString webp = "アニメーション WebP (*.webp)";
        const QString folder = "PNG 連番画像の新しいフォルダー (*/)";
        QTest::newRow("read-only folder, webp") << "read-only" << webp << EACCES;
        QTest::newRow("read-only folder, png folder") << "read-only" << folder << EACCES;
        QTest::newRow("full disk, webp") << "full" << webp << EFBIG;
        QTest::newRow("full disk, png folder") << "full" << folder << EFBIG;
        QTest::newRow("folder gone after the choice") << "gone" << webp << ENOENT;
    }
    void faultsGiveTheMessage()
    {
        QFETCH(QString, fault);
        QFETCH(QString, filter);
        QFETCH(int, error);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("in"));
        const QString folder = dir.filePath("in");
        document().importModel(sixColours(3000));
        MessageBoxes messages;
        Answers answers;
        answers.filter = filter;
        answers.name = folder + "/spin";
        const rlimit unlimited {RLIM_INFINITY, RLIM_INFINITY};
        rlimit before = unlimited;
        ::getrlimit(RLIMIT_FSIZE, &before);
        answers.beforeOptions = [&] {
            if (fault == "gone")
                QDir(folder).removeRecursively();
            if (fault == "read-only") {
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                  | QFile::ExeOther);
                if (::geteuid() == 0) // root writes into read-only folders: act as nobody
                    QVERIFY(::seteuid(65534) == 0);
            }
            if (fault == "full") {
                std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
                const rlimit small {100, before.rlim_max}; // less than any frame
                ::setrlimit(RLIMIT_FSIZE, &small);
            }
        };
        trigger(window(), "turntableAction");
        ::setrlimit(RLIMIT_FSIZE, &before);
        if (::getuid() == 0)
            QVERIFY(::seteuid(0) == 0);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(entries(folder), QStringList());
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title, "エラーメッセージ");
        const QString target = answers.name + (filter.contains("webp") ? ".webp" : "");
        QVERIFY2(messages.shown[0].text.startsWith("ファイル " + target + " に書き込めません。\n")
                     && messages.shown[0].text.contains(systemErrorText(error)),
                 qPrintable(messages.shown[0].text));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestTurntable)
#include "tst_turntable.moc"
