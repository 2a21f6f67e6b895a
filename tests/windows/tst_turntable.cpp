#include "file_faults.h"
#include "platform.h"
#include "readers.h"
#include "turntable_dialog.h"
#include "window_test.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>

#include <optional>
#include <random>

namespace {

const QString kWebp = "アニメーション WebP (*.webp)";
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

// Answers the turntable's dialogs as they come up: the file dialog with `name` typed under
// `filter`, the options after running `beforeOptions`; cancels the progress when told to.
class Answers : public QObject {
public:
    QString filter, name;
    bool swing = false, shading = false, cancel = false;
    int frames = 12, size = 96, pointSize = 1;
    std::function<void()> beforeOptions = [] {};

    Answers() { startTimer(10); }

protected:
    void timerEvent(QTimerEvent *) override
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *files = qobject_cast<QFileDialog *>(modal)) {
            files->selectNameFilter(filter);
            emit files->filterSelected(filter); // as choosing it in the list does
            child<QLineEdit>(files, "fileNameEdit")->setText(name);
            static_cast<QDialog *>(files)->accept();
        } else if (auto *options = qobject_cast<TurntableDialog *>(modal)) {
            beforeOptions();
            child<QComboBox>(options, "motion")->setCurrentIndex(swing ? 1 : 0);
            child<QSpinBox>(options, "frames")->setValue(frames);
            child<QSpinBox>(options, "size")->setValue(size);
            child<QSpinBox>(options, "pointSize")->setValue(pointSize);
            child<QCheckBox>(options, "shading")->setChecked(shading);
            options->accept();
        } else if (auto *progress = qobject_cast<QProgressDialog *>(modal); progress && cancel) {
            progress->cancel();
        }
    }
};

// What the turntable export is asked for, and what it must give.
struct Export {
    QString filter, name, written; // written: relative to the folder
    bool swing;
    int pointSize;
    bool shading;
    int frames;
    QPointF second; // the second frame's angles less the first's
};

} // namespace

Q_DECLARE_METATYPE(Export)

class TestTurntable : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program_;
    QWidget *window() const { return &program_->window; }
    Document &document() const { return program_->document; }

private slots:
    void init()
    {
        clearSettings();
        program_ = std::make_unique<Program>();
    }
    void cleanup() { program_.reset(); }

    // The export menu needs points; PIL reads every frame, and the first two are what the large
    // view shows at their angles.
    void readBack_data()
    {
        QTest::addColumn<Export>("e");
        QTest::newRow("webp filter adds .webp; 12 frames of 30 degrees, shaded")
            << Export {kWebp, "spin", "spin.webp", false, 2, true, 12, {30, 0}};
        QTest::newRow("the .gif typed wins over the webp filter; every frame exact")
            << Export {kWebp, "spin.gif", "spin.gif", false, 1, false, 12, {30, 0}};
        QTest::newRow("png folder: the swing's 36 views as numbered frames")
            << Export {kFolder, "frames", "frames", true, 3, false, 36, {5, 0}};
    }
    void readBack()
    {
        QFETCH(Export, e);
        QTemporaryDir dir;
        QAction *exports = child<QAction>(window(), "exportMenuAction");
        document().importModel({});
        QVERIFY(!exports->isEnabled());
        document().importModel(sixColours(3000));
        QVERIFY(exports->isEnabled());
        if (e.swing)
            click(window(), "frontView");
        else
            document().turnBy(40, -15);
        {
            Answers answers;
            answers.filter = e.filter;
            answers.name = dir.filePath(e.name);
            answers.swing = e.swing;
            answers.pointSize = e.pointSize;
            answers.shading = e.shading;
            trigger(window(), "turntableAction");
        }
        QCOMPARE(entries(dir.path()), QStringList {e.written});

        const ReadBack read = ::readBack("frames", dir.filePath(e.written));
        REQUIRE_READ(read);
        const QString format = e.written.section('.', 1).toUpper();
        QCOMPARE(read.seen["formats"].toArray(), QJsonArray {format.isEmpty() ? "PNG" : format});
        QCOMPARE(read.seen["sizes"].toArray().size(), e.frames);
        for (const QJsonValue size : read.seen["sizes"].toArray())
            QCOMPARE(size.toArray(), QJsonArray({96, 96}));
        if (format.isEmpty())
            QCOMPARE(read.seen["names"].toArray().last().toString(), "frame-035.png");
        else
            QCOMPARE(read.seen["durations"][0].toInt(), 100);

        QSettings settings(QStringLiteral("zuvorak"), QStringLiteral("zuvorak"));
        settings.setValue("largeView/pointSize", e.pointSize);
        settings.setValue("largeView/shading", e.shading);
        for (int frame : {0, 1}) {
            document().turnBy(frame * e.second.x(), frame * e.second.y());
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
        QTest::newRow("cancelled, webp") << "cancel" << kWebp << 0;
        QTest::newRow("cancelled, png folder") << "cancel" << kFolder << 0;
        QTest::newRow("read-only folder, webp") << "read-only" << kWebp << EACCES;
        QTest::newRow("read-only folder, png folder") << "read-only" << kFolder << EACCES;
        QTest::newRow("full disk, webp") << "full" << kWebp << EFBIG;
        QTest::newRow("full disk, png folder") << "full" << kFolder << EFBIG;
        QTest::newRow("folder gone after the choice") << "gone" << kWebp << ENOENT;
    }
    void nothingLeftBehind()
    {
        QFETCH(QString, fault);
        QFETCH(QString, filter);
        QFETCH(int, error);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("in"));
        const QString folder = dir.filePath("in");
        document().importModel(sixColours(fault == "cancel" ? kMaxPoints : 3000));
        MessageBoxes messages;
        Answers answers;
        answers.filter = filter;
        answers.name = folder + "/spin";
        answers.cancel = fault == "cancel";
        if (answers.cancel) { // seconds of work on any machine: the progress shows
            answers.frames = 120;
            answers.size = 1024;
        }
        std::optional<FileSizeLimit> limit;
        answers.beforeOptions = [&] {
            if (fault == "gone")
                QDir(folder).removeRecursively();
            if (fault == "read-only") {
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                  | QFile::ExeOther);
                if (::geteuid() == 0) // root writes into read-only folders: act as nobody
                    QVERIFY(::seteuid(65534) == 0);
            }
            if (fault == "full")
                limit.emplace(100); // less than any frame
        };
        trigger(window(), "turntableAction");
        limit.reset();
        if (::getuid() == 0)
            QVERIFY(::seteuid(0) == 0);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(entries(folder), QStringList());
        QCOMPARE(messages.shown.size(), qsizetype(error != 0));
        if (error) {
            const QString target = answers.name + (filter == kWebp ? ".webp" : "");
            QCOMPARE(messages.shown[0].title, "エラーメッセージ");
            QVERIFY2(
                messages.shown[0].text.startsWith("ファイル " + target + " に書き込めません。\n")
                    && messages.shown[0].text.contains(systemErrorText(error)),
                qPrintable(messages.shown[0].text));
        }
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestTurntable)
#include "tst_turntable.moc"
