#include "readers.h"
#include "window_test.h"

struct Turntable {
    QString filter, name; // typed after the kind is chosen, or before
    bool typedFirst;
    QString written;
    int pointSize; // shaded at 2
    bool aboutCentre = false;
};
Q_DECLARE_METATYPE(Turntable)

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
        const QString webp = "アニメーション WebP (*.webp)", gif = "アニメーション GIF (*.gif)";
        QTest::addColumn<Turntable>("row");
        QTest::newRow("webp chosen, then spin.gif typed: a WebP; 12 frames of 30 degrees, shaded")
            << Turntable {webp, "spin.gif", false, "spin.webp", 2};
        QTest::newRow("spin.webp typed, then gif chosen: a GIF, every frame exact")
            << Turntable {gif, "spin.webp", true, "spin.gif", 1};
        QTest::newRow("frames.gif typed, then png folder: the swing's 36 views as frames")
            << Turntable {"PNG 連番画像の新しいフォルダー (*/)", "frames.gif", true, "frames", 3};
        QTest::newRow("about the model's middle: the whole model in every frame")
            << Turntable {webp, "centred", false, "centred.webp", 3, true};
    }
    void readBack()
    {
        QFETCH(Turntable, row);
        const QTemporaryDir dir;
        QAction *exports = child<QAction>(window(), "exportMenuAction");
        document().importModel({});
        QVERIFY(!exports->isEnabled());
        document().importModel(sixColours(3000));
        QVERIFY(exports->isEnabled());
        if (row.aboutCentre)
            document().move(300, -200);
        const bool swing = !row.written.contains('.');
        const int step = swing ? 5 : 30;
        if (swing)
            click(window(), "frontView");
        else
            viewState().turnBy(40, -15);
        const Step path = [&](QDialog *dialog) {
            auto *name = child<QLineEdit>(dialog, "fileNameEdit");
            for (int i = 0; i < 2; ++i)
                if (i == row.typedFirst)
                    qtChoose(dialog, row.filter);
                else
                    name->setText(dir.filePath(row.name));
            QCOMPARE(name->text(), dir.filePath(row.typedFirst ? row.written : row.name));
            dialog->accept();
        };
        const QString fields = "frames=12 size=96 motion=%1 pointSize=%2 shading=%3 aboutCentre=%4";
        QCOMPARE(stepThrough([&] { trigger(window(), "turntableAction"); },
                             {path, options(fields.arg(swing)
                                                .arg(row.pointSize)
                                                .arg(row.pointSize == 2)
                                                .arg(row.aboutCentre))}),
                 2);
        QCOMPARE(entries(dir.path()), QStringList {row.written});
        const ReadBack read = ::readBack("frames", dir.filePath(row.written));
        REQUIRE_READ(read);
        const QString format = row.written.section('.', 1).toUpper();
        QCOMPARE(read.seen["formats"].toArray(), QJsonArray {swing ? "PNG" : format});
        QCOMPARE(read.pixels.size(), (swing ? 36 : 12) * 96 * 96 * 4); // every frame 96 x 96
        if (swing)
            QCOMPARE(read.seen["names"].toArray().last().toString(), "frame-035.png");
        else
            QCOMPARE(read.seen["durations"][0].toInt(), 100);
        for (int frame = 0; frame < 12 && row.aboutCentre; ++frame) {
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
        if (row.aboutCentre)
            return;
        QSettings settings = settingsFile();
        settings.setValue("largeView/pointSize", row.pointSize);
        settings.setValue("largeView/shading", row.pointSize == 2);
        for (int frame : {0, 1}) {
            viewState().turnBy(frame * step, 0);
            QVERIFY(samePicture(read.frame(frame, 96, 96),
                                openLargeView(window(), {96, 96})->surface().image(),
                                QString("frame-%1").arg(frame)));
        }
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestTurntable)
#include "tst_turntable.moc"
