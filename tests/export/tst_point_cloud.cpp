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
    return [ascii](auto points, auto colours) { return exportPly(points, colours, {ascii}); };
}

} // namespace

class TestPointCloud : public QObject {
    Q_OBJECT

private slots:
    void plyHeader_data()
    {
        QTest::addColumn<bool>("ascii");
        QTest::newRow("binary") << false;
        QTest::newRow("ASCII") << true;
    }
    void plyHeader()
    {
        QFETCH(bool, ascii);
        const ExportResult result = exportPly(kPoints, kColours, {ascii});
        const QByteArray expected
            = QByteArray("ply\nformat ") + (ascii ? "ascii" : "binary_little_endian")
              + " 1.0\ncomment ZUVORAK 3.0\nelement vertex 5\n"
                "property float x\nproperty float y\nproperty float z\n"
                "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n";
        QVERIFY(result.ok());
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(result.bytes.data()), expected.size()),
                 expected);
    }

    // x = horizontal, y = vertical, z = -depth; floats where the format holds floats.
    void readBack_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Exporter>("exporter");
        QTest::addColumn<bool>("asFloat");
        QTest::newRow("PLY binary, meshio") << "ply" << ply(false) << true;
        QTest::newRow("PLY ASCII, meshio") << "ply" << ply(true) << true;
        QTest::newRow("XYZ, numpy") << "xyz" << Exporter(exportXyz) << false;
        QTest::newRow("glb, json and struct") << "glb" << Exporter(exportGlb) << true;
    }
    void readBack()
    {
        QFETCH(QString, kind);
        QFETCH(Exporter, exporter);
        QFETCH(bool, asFloat);
        const ExportResult result = exporter(kPoints, kColours);
        QVERIFY(result.ok());
        QCOMPARE(result.nonFinite, asFloat ? 3 : 2);
        const ReadBack read = readExported(kind, result.bytes);
        if (!read.missing.isEmpty())
            QSKIP(qPrintable("not installed: " + read.missing));
        QVERIFY2(!read.seen.isEmpty(), read.errors.constData());
        std::vector<std::vector<double>> points, colours;
        for (std::size_t i = 0; i < kPoints.size(); ++i) {
            const Coords &p = kPoints[i];
            if (!std::isfinite(p[0] + p[1] + p[2]) || (asFloat && p[Horizontal] > FLT_MAX))
                continue;
            std::vector<double> xyz = {p[Horizontal], p[Vertical], -p[Depth]};
            if (asFloat)
                for (double &value : xyz)
                    value = storedAsFloat(value);
            points.push_back(xyz);
            colours.push_back({double(kColours[i] & 0xFF), double(kColours[i] >> 8 & 0xFF),
                               double(kColours[i] >> 16 & 0xFF)});
        }
        QCOMPARE(rows(read.seen["points"]), points);
        QCOMPARE(rows(read.seen["colours"]), colours);
    }

    void xyzText()
    {
        const ExportResult result
            = exportXyz(std::vector<Coords> {{2.5, 0.1, -3}, {-0.0, -0.0, 1e-7}},
                        std::vector<Colour> {0x030201, 0xFFFFFF});
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(result.bytes.data()),
                            qsizetype(result.bytes.size())),
                 QByteArray("0.1 -3 -2.5 1 2 3\n0 1e-07 0 255 255 255\n"));
    }

    void glbLayout()
    {
        const ReadBack read = readExported("glb", exportGlb(kPoints, kColours).bytes);
        if (!read.missing.isEmpty())
            QSKIP(qPrintable("not installed: " + read.missing));
        const QJsonObject &seen = read.seen;
        QCOMPARE(seen["header"].toArray(), (QJsonArray {"glTF", 2, true}));
        QCOMPARE(seen["chunks"].toArray(), (QJsonArray {"JSON", "BIN"}));
        QCOMPARE(seen["asset"].toObject()["version"], "2.0");
        QCOMPARE(seen["asset"].toObject()["generator"], "ZUVORAK 3.0");
        QCOMPARE(seen["meshes"].toInt(), 1);
        QCOMPARE(seen["primitives"].toInt(), 1);
        QCOMPARE(seen["mode"].toInt(), 0); // POINTS
        QCOMPARE(rows(QJsonArray {seen["min"], seen["max"]}),
                 (std::vector<std::vector<double>> {{-95, storedAsFloat(-1e30), -12.75},
                                                    {storedAsFloat(1e30), 95, 3}}));
    }

    void glbValidator()
    {
        if (QStandardPaths::findExecutable("node").isEmpty()
            || !QFile::exists(ZUVORAK_GLTF_VALIDATOR))
            QSKIP("node or gltf-validator (scripts/install-gltf-validator.sh) is not installed");
        const ExportedFile file(exportGlb(kPoints, kColours).bytes, "points.glb");
        QProcess node;
        node.start("node", {ZUVORAK_SOURCE_DIR "/tests/export/validate_gltf.js",
                            ZUVORAK_GLTF_VALIDATOR, file.path});
        QVERIFY(node.waitForFinished(120000));
        const QByteArray output = node.readAllStandardOutput();
        const QJsonObject issues = QJsonDocument::fromJson(output).object();
        QVERIFY2(!issues.isEmpty(), node.readAllStandardError().constData());
        QVERIFY2(issues["numErrors"].toInt() == 0 && issues["numWarnings"].toInt() == 0
                     && issues["numInfos"].toInt() == 0,
                 output.constData());
    }

    // Every kind refuses what it cannot export, and counts what it leaves out.
    void everyKind_data()
    {
        QTest::addColumn<Exporter>("exporter");
        QTest::newRow("PLY") << ply(false);
        QTest::newRow("XYZ") << Exporter(exportXyz);
        QTest::newRow("glb") << Exporter(exportGlb);
        QTest::newRow("STL") << Exporter([](auto p, auto c) { return exportStl(p, c); });
        QTest::newRow("3MF") << Exporter([](auto p, auto c) { return export3mf(p, c); });
    }
    void everyKind()
    {
        QFETCH(Exporter, exporter);
        const double nan = std::nan("");
        QVERIFY(!exporter({}, {}).ok());
        QVERIFY(exporter({}, {}).bytes.empty());
        QVERIFY(!exporter(std::vector<Coords> {{0, 0, 0}}, {}).ok());
        QVERIFY(!exporter(std::vector<Coords> {{nan, 0, 0}}, std::vector<Colour> {0}).ok());
        const ExportResult result
            = exporter(std::vector<Coords> {{0, 0, 0}, {nan, 0, 0}, {1, 1, -HUGE_VAL}},
                       std::vector<Colour>(3, 0));
        QVERIFY2(result.ok(), result.error.c_str());
        QVERIFY(!result.bytes.empty());
        QCOMPARE(result.nonFinite, 2);
    }
};

QTEST_GUILESS_MAIN(TestPointCloud)
#include "tst_point_cloud.moc"
