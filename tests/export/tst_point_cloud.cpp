#include "export.h"
#include "readers.h"

#include <QStandardPaths>
#include <QTest>

#include <cfloat>
#include <cmath>
#include <functional>

using Exporter = std::function<ExportResult(std::span<const Coords>, std::span<const Colour>)>;
Q_DECLARE_METATYPE(Exporter)

namespace {

// A fraction, negative zeros, far and near points; one NaN and one infinite point, and
// one beyond float's range.
const std::vector<Coords> kPoints
    = {{0, 0, 0},          {2.5, 0.1, -3},   {std::nan(""), 1, 1}, {-0.0, -0.0, 95},
       {12.75, -95, 1e-7}, {1, HUGE_VAL, 1}, {-3, 1e30, -1e30},    {0, 1e300, 0}};
const std::vector<Colour> kColours = {0x0000FF, 0x030201, 0, 0xFFFFFF, 0x00FF00, 0, 0x123456, 0x7F};

Exporter ply(bool ascii)
{
    return
        [ascii](auto points, auto colours) { return exportPly(points, colours, {.ply = {ascii}}); };
}

} // namespace

class TestPointCloud : public QObject {
    Q_OBJECT

private slots:
    // x = horizontal, y = vertical, z = -depth; floats where the format holds floats.
    void readBack_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Exporter>("exporter");
        QTest::addColumn<bool>("asFloat");
        QTest::newRow("PLY binary, meshio") << "ply" << ply(false) << true;
        QTest::newRow("PLY ASCII, meshio") << "ply" << ply(true) << true;
        QTest::newRow("XYZ, numpy")
            << "xyz" << Exporter([](auto p, auto c) { return exportXyz(p, c, {}); }) << false;
        QTest::newRow("glb of points, json and struct, gltf-validator")
            << "glb" << Exporter([](auto p, auto c) { return exportGlb(p, c, {}); }) << true;
    }
    void readBack()
    {
        QFETCH(QString, kind);
        QFETCH(Exporter, exporter);
        QFETCH(bool, asFloat);
        const ExportResult result = exporter(kPoints, kColours);
        QVERIFY(result.ok());
        QCOMPARE(result.nonFinite, asFloat ? 3 : 2);
        const ReadBack read = ::readBack(kind, result.bytes);
        REQUIRE_READ(read);
        std::vector<std::vector<double>> points, colours;
        for (std::size_t i = 0; i < kPoints.size(); ++i) {
            const Coords &p = kPoints[i];
            if (!std::isfinite(p[0] + p[1] + p[2]) || (asFloat && p[Horizontal] > FLT_MAX))
                continue;
            points.push_back({p[Horizontal], p[Vertical], -p[Depth]});
            colours.push_back({double(kColours[i] & 0xFF), double(kColours[i] >> 8 & 0xFF),
                               double(kColours[i] >> 16 & 0xFF)});
        }
        // The glb in metres, 0.25 mm a pixel, about the middle of the points' bounds.
        std::vector<double> low(3, HUGE_VAL), high(3, -HUGE_VAL), middle(3, 0);
        for (int axis = 0; axis < 3 && kind == "glb"; ++axis) {
            for (const auto &point : points) {
                low[axis] = std::min(low[axis], point[axis]);
                high[axis] = std::max(high[axis], point[axis]);
            }
            middle[axis] = low[axis] / 2 + high[axis] / 2;
            low[axis] = storedAsFloat((low[axis] - middle[axis]) * 0.00025);
            high[axis] = storedAsFloat((high[axis] - middle[axis]) * 0.00025);
        }
        for (auto &point : points)
            for (int axis = 0; axis < 3; ++axis) {
                const double value = (point[axis] - middle[axis]) * (kind == "glb" ? 0.00025 : 1);
                point[axis] = asFloat ? storedAsFloat(value) : value;
            }
        QCOMPARE(rows(read.seen["points"]), points);
        QCOMPARE(rows(read.seen["colours"]), colours);
        if (kind != "glb")
            return;
        QCOMPARE(read.seen["header"].toArray(), (QJsonArray {"glTF", 2, true}));
        QCOMPARE(rows(read.seen["bounds"]),
                 (std::vector<std::vector<double>> {{low.begin(), low.end()},
                                                    {high.begin(), high.end()}}));
        QCOMPARE(read.seen["mode"].toInt(), 0); // POINTS
        // No error, warning or note from the Khronos validator, which also checks the bounds.
        REQUIRE_READER(!QStandardPaths::findExecutable("node").isEmpty()
                           && QFile::exists(ZUVORAK_GLTF_VALIDATOR),
                       "node and gltf-validator (scripts/install-gltf-validator.sh)");
        const QTemporaryDir dir;
        QVERIFY(write(dir.filePath("points.glb"), asBytes(result.bytes)));
        QProcess node;
        node.start("node", {ZUVORAK_SOURCE_DIR "/tests/export/validate_gltf.js",
                            ZUVORAK_GLTF_VALIDATOR, dir.filePath("points.glb")});
        QVERIFY(node.waitForFinished(120000));
        const QByteArray output = node.readAllStandardOutput();
        const QJsonObject issues = QJsonDocument::fromJson(output).object();
        QVERIFY2(!issues.isEmpty(), node.readAllStandardError().constData());
        QVERIFY2(issues["numErrors"].toInt() + issues["numWarnings"].toInt()
                         + issues["numInfos"].toInt()
                     == 0,
                 output.constData());
    }

    // Every kind refuses what it cannot export, and counts what it leaves out.
    void everyKind_data()
    {
        QTest::addColumn<Exporter>("exporter");
        QTest::newRow("PLY") << ply(false);
        QTest::newRow("XYZ") << Exporter([](auto p, auto c) { return exportXyz(p, c, {}); });
        QTest::newRow("glb") << Exporter([](auto p, auto c) { return exportGlb(p, c, {}); });
        QTest::newRow("STL") << Exporter([](auto p, auto c) { return exportStl(p, c, {}); });
        QTest::newRow("3MF") << Exporter([](auto p, auto c) { return export3mf(p, c, {}); });
    }
    void everyKind()
    {
        QFETCH(Exporter, exporter);
        const double nan = std::nan("");
        QVERIFY(!exporter({}, {}).ok() && exporter({}, {}).bytes.empty());
        QVERIFY(!exporter(std::vector<Coords> {{0, 0, 0}}, {}).ok());
        QVERIFY(!exporter(std::vector<Coords> {{nan, 0, 0}}, std::vector<Colour> {0}).ok());
        const ExportResult result
            = exporter(std::vector<Coords> {{0, 0, 0}, {nan, 0, 0}, {1, 1, -HUGE_VAL}},
                       std::vector<Colour>(3, 0));
        QCOMPARE(result.error, ExportError::None);
        QVERIFY(!result.bytes.empty());
        QCOMPARE(result.nonFinite, 2);
    }
};

QTEST_GUILESS_MAIN(TestPointCloud)
#include "tst_point_cloud.moc"
