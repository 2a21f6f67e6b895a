#include "animation.h"
#include "readers.h"
#include "turntable.h"

#include <QTest>

#include <random>

using Animation::Frame;
using Frames = std::vector<Frame>;
using Bytes = std::vector<std::uint8_t>;
Q_DECLARE_METATYPE(Frames)

namespace {

Animation::Encoded encode(const QString &format, const Frames &frames, int delayMs,
                          const Animation::Progress &progress = {})
{
    return format == "webp" ? Animation::encodeAnimatedWebP(frames, delayMs, progress)
                            : Animation::encodeAnimatedGif(frames, delayMs, progress);
}

// A dark square on white, one frame for each of its left edges.
Frames movingSquare(std::initializer_list<int> lefts)
{
    Frames frames;
    for (int left : lefts) {
        Frame frame {24, 16, Bytes(24 * 16 * 4, 255)};
        for (int y = 4; y < 12; ++y)
            for (int x = left; x < left + 8; ++x)
                std::copy_n("\x20\x40\xa0", 3, frame.rgba.begin() + (y * 24 + x) * 4);
        frames.push_back(frame);
    }
    return frames;
}

// Pixels drawn at random from `colours` random colours; alpha random too unless opaque.
Frames noise(int count, int colours, bool opaque)
{
    std::mt19937 random(count * 1000 + colours);
    Bytes palette(std::size_t(colours) * 4);
    for (std::uint8_t &byte : palette)
        byte = std::uint8_t(random());
    Frames frames;
    for (int i = 0; i < count; ++i) {
        Frame frame {40, 30, Bytes(40 * 30 * 4)};
        for (std::size_t p = 0; p < frame.rgba.size(); p += 4) {
            std::copy_n(palette.begin() + (random() % colours) * 4, 4, frame.rgba.begin() + p);
            if (opaque)
                frame.rgba[p + 3] = 255;
        }
        frames.push_back(frame);
    }
    return frames;
}

} // namespace

class TestAnimation : public QObject {
    Q_OBJECT

private slots:
    void readBack_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<Frames>("frames");
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("storedDelay");
        QTest::newRow("webp: a moving square, every frame exact")
            << "webp" << movingSquare({2, 5, 14}) << 100 << 100;
        QTest::newRow("webp: 4096 colours and their alpha exact")
            << "webp" << noise(2, 4096, false) << 40 << 40;
        QTest::newRow("gif: a moving square, every frame exact")
            << "gif" << movingSquare({2, 5, 14}) << 100 << 100;
        QTest::newRow("gif: 256 colours in all exact") << "gif" << noise(3, 256, true) << 50 << 50;
        QTest::newRow("gif: 75 ms becomes the nearest 10 ms")
            << "gif" << movingSquare({0, 1}) << 75 << 80;
    }
    void readBack()
    {
        QFETCH(QString, format);
        QFETCH(Frames, frames);
        QFETCH(int, delay);
        QFETCH(int, storedDelay);
        const Animation::Encoded encoded = encode(format, frames, delay);
        QCOMPARE(encoded.error, Animation::Error::None);

        const QTemporaryDir dir;
        const QString path = dir.filePath("turntable." + format);
        QVERIFY(write(path, asBytes(encoded.bytes)));
        const ReadBack read = ::readBack("frames", path);
        REQUIRE_READ(read);
        QCOMPARE(read.seen["formats"].toArray(), QJsonArray {format.toUpper()});
        QCOMPARE(read.seen["loop"].toInt(-1), 0);
        for (const QJsonValue duration : read.seen["durations"].toArray())
            QCOMPARE(duration.toInt(), storedDelay);
        QByteArray pixels; // every frame, each of the first one's size
        for (const Frame &frame : frames)
            pixels += asBytes(frame.rgba);
        QCOMPARE(read.pixels, pixels);
    }

    // A turntable in 16 colours with depth shading, far more than 256 in all: the GIF's
    // frames stay within 3 levels a channel of the lossless WebP's, on average over the
    // model's pixels, as PIL reads both.
    void gifCloseToWebP()
    {
        Model model;
        std::mt19937 random(3);
        std::uniform_int_distribution<int> coordinate(-95, 95), depth(0, 100);
        std::vector<Colour> colours(16);
        for (Colour &colour : colours)
            colour = Colour(random() & 0xFFFFFF);
        for (int i = 0; i < 20000; ++i) {
            model.points.push_back(
                {double(depth(random)), double(coordinate(random)), double(coordinate(random))});
            model.colours.push_back(colours[random() % colours.size()]);
        }
        TurntableOptions options;
        options.frames = 12;
        options.size = 256;
        options.style.shading = true;
        const Frames frames = renderTurntable(model, options);
        const QTemporaryDir dir;
        QByteArray pixels[2];
        for (int gif : {0, 1}) {
            const QString path = dir.filePath(gif ? "t.gif" : "t.webp");
            QVERIFY(write(path, asBytes(encode(gif ? "gif" : "webp", frames, 100).bytes)));
            const ReadBack read = ::readBack("frames", path);
            REQUIRE_READ(read);
            pixels[gif] = read.pixels;
        }
        QCOMPARE(pixels[1].size(), pixels[0].size());
        const auto *webp = reinterpret_cast<const std::uint8_t *>(pixels[0].constData());
        const auto *gif = reinterpret_cast<const std::uint8_t *>(pixels[1].constData());
        double difference = 0;
        qsizetype channels = 0;
        for (qsizetype p = 0; p < pixels[0].size(); p += 4) {
            if (webp[p] == 255 && webp[p + 1] == 255 && webp[p + 2] == 255)
                continue; // the background
            for (int c = 0; c < 3; ++c, ++channels)
                difference += std::abs(webp[p + c] - gif[p + c]);
        }
        QVERIFY(channels > 0);
        QVERIFY2(difference / channels <= 3, qPrintable(QString::number(difference / channels)));
    }

    void progressAndCancel_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("cancelAt"); // 0: never
        QTest::addColumn<QList<int>>("calls");
        for (const char *format : {"webp", "gif"}) {
            QTest::addRow("%s: every frame reported", format) << format << 0 << QList {1, 2, 3, 4};
            QTest::addRow("%s: cancelled at frame 2, nothing returned", format)
                << format << 2 << QList {1, 2};
        }
    }
    void progressAndCancel()
    {
        QFETCH(QString, format);
        QFETCH(int, cancelAt);
        QFETCH(QList<int>, calls);
        QList<int> seen;
        const Animation::Encoded encoded
            = encode(format, movingSquare({0, 3, 6, 9}), 100, [&](int done, int total) {
                  seen.append(total == 4 ? done : -total); // a wrong total shows negative
                  return done != cancelAt;
              });
        QCOMPARE(seen, calls);
        QCOMPARE(encoded.error,
                 cancelAt == 0 ? Animation::Error::None : Animation::Error::Cancelled);
        QCOMPARE(encoded.bytes.empty(), cancelAt != 0);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<Frames>("frames");
        QTest::addColumn<int>("delay");
        QTest::addColumn<Animation::Error>("error");
        QTest::addColumn<int>("frame");
        Frames mixed = movingSquare({0, 2});
        mixed[1] = noise(1, 2, true)[0];
        Frames short_ = movingSquare({0, 2});
        short_[1].rgba.pop_back();
        for (const char *format : {"webp", "gif"}) {
            QTest::addRow("%s: no frames", format)
                << format << Frames {} << 100 << Animation::Error::NoFrames << 0;
            QTest::addRow("%s: second frame of another size", format)
                << format << mixed << 100 << Animation::Error::FramesDiffer << 2;
            QTest::addRow("%s: a buffer a byte short", format)
                << format << short_ << 100 << Animation::Error::FramesDiffer << 2;
            QTest::addRow("%s: no delay", format)
                << format << movingSquare({0}) << 0 << Animation::Error::Delay << 0;
        }
        QTest::newRow("webp: wider than WebP allows")
            << "webp" << Frames {Frame {16384, 1, Bytes(16384 * 4)}} << 100
            << Animation::Error::FrameSize << 1;
    }
    void refused()
    {
        QFETCH(QString, format);
        QFETCH(Frames, frames);
        QFETCH(int, delay);
        QFETCH(Animation::Error, error);
        QFETCH(int, frame);
        const Animation::Encoded encoded = encode(format, frames, delay);
        QCOMPARE(encoded.error, error);
        QCOMPARE(encoded.frame, frame);
    }
};

QTEST_GUILESS_MAIN(TestAnimation)
#include "tst_animation.moc"
