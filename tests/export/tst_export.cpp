#include "animation.h"
#include "export.h"
#include "readers.h"
#include "relief.h"
#include "relief_mesh.h"
#include "seeded_model.h"
#include "turntable.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <cfloat>
#include <map>
#include <memory>
#include <set>

using namespace NMR;
using Animation::Frame;
using Frames = std::vector<Frame>;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A dark square on white, one frame for each of its left edges.
Frames movingSquare(std::initializer_list<int> lefts)
{
    Frames frames;
    for (int left : lefts) {
        Frame &frame = frames.emplace_back(Frame {24, 16, Bytes(24 * 16 * 4, 255)});
        for (int y = 4; y < 12; ++y)
            for (int x = left; x < left + 8; ++x)
                std::copy_n("\x20\x40\xa0", 3, frame.rgba.begin() + (y * 24 + x) * 4);
    }
    return frames;
}

// Pixels drawn at random from `colours` random colours; alpha random too unless opaque.
Frames noise(int count, int colours, bool opaque)
{
    std::mt19937 random(count * 1000 + colours);
    Bytes palette(std::size_t(colours) * 4);
    std::generate(palette.begin(), palette.end(), [&] { return std::uint8_t(random()); });
    Frames frames(std::size_t(count), Frame {40, 30, Bytes(40 * 30 * 4)});
    for (Frame &frame : frames)
        for (std::size_t p = 0; p < frame.rgba.size(); p += 4) {
            std::copy_n(palette.begin() + random() % colours * 4, 4, frame.rgba.begin() + p);
            frame.rgba[p + 3] |= opaque ? 255 : 0;
        }
    return frames;
}

// An animation in its name's first word's format, and what encoding it must give: an error and
// the frame at fault, or frames as PIL reads them, storedDelay ms each; cancelled at cancelAt.
struct Animated {
    QString name;
    Frames frames;
    int delay;
    Animation::Error error = Animation::Error::None;
    int frame = 0, storedDelay = 0, cancelAt = 0;
};

Animation::Encoded encode(const QString &format, const Frames &frames, int delayMs,
                          const Animation::Progress &progress = {})
{
    return format == "webp" ? Animation::encodeAnimatedWebP(frames, delayMs, progress)
                            : Animation::encodeAnimatedGif(frames, delayMs, progress);
}

// A fraction, negative zeros, far and near points; a NaN, an infinite and a beyond-float point.
const std::vector<Coords> kPoints
    = {{0, 0, 0},          {2.5, 0.1, -3},   {std::nan(""), 1, 1}, {-0.0, -0.0, 95},
       {12.75, -95, 1e-7}, {1, HUGE_VAL, 1}, {-3, 1e30, -1e30},    {0, 1e300, 0}};
const std::vector<Colour> kColours = {0x0000FF, 0x030201, 0, 0xFFFFFF, 0x00FF00, 0, 0x123456, 0x7F};

constexpr Colour kRed = 0x0000FF, kGreen = 0x00FF00, kBlueColour = 0xFF0000;
// A cell, counted from the bounding box's bottom left: its top in mm and its colour.
using Tops = std::map<std::pair<int, int>, std::pair<double, Colour>>;

// A model and the relief it must give.
struct ReliefCase {
    const char *name;
    int across = 0, up = 0;
    SolidOptions options {};
    int nonFinite = 0, snapped = 0, dropped = 0;
    std::vector<Coords> points {}; // {depth, horizontal, vertical}
    std::vector<Colour> colours {};
    Tops columns {};

    ReliefCase &point(Coords point, Colour colour)
    {
        points.push_back(point);
        colours.push_back(colour);
        return *this;
    }
    ReliefCase &column(int i, int j, double top, Colour colour)
    {
        columns[{i, j}] = {storedAsFloat(top), colour};
        return *this;
    }
    // A point at a cell's corner (the box's own at 0, 0) and the column it gives there.
    ReliefCase &pillar(Coords p, Colour colour, double top, Colour shown = -1)
    {
        return point(p, colour).column(int(p[1]), int(p[2]), top, shown < 0 ? colour : shown);
    }
    double cellArea() const { return options.pixelSize * options.pixelSize; }
};

// With default options a top is 1 + 0.6 + (largest depth - depth) * 0.25.
std::vector<ReliefCase> reliefCases()
{
    const double nan = std::nan(""), inf = HUGE_VAL;
    const SolidOptions other {
        .pixelSize = 0.5, .depthScale = 1, .inkHeight = 0.3, .baseThickness = 2, .reverse = true};
    std::vector<ReliefCase> cases = {
        ReliefCase {"equal neighbours, other sizes, reversed", 3, 1, other}
            .pillar({0, 0, 0}, kRed, 2.3)
            .pillar({0, 1, 0}, kRed, 2.3)
            .pillar({2, 2, 0}, kGreen, 4.3),
        // Halves go to even: (0.5, 0) to the first pixel.
        ReliefCase {"off the lattice, two on one pixel, NaN and infinite points", 3, 1, {}, 3, 3, 2}
            .point({5, 2.0, 0.0}, kRed)
            .point({3, 2.2, 0.1}, kGreen)
            .point({0, 0.4, -0.3}, kBlueColour)
            .point({4, 0.5, 0}, kRed)
            .point({nan, 0, 0}, kRed)
            .point({0, inf, 0}, kRed)
            .point({-inf, 3, 3}, kRed)
            .column(0, 0, 2.85, kBlueColour)
            .column(2, 0, 2.1, kGreen),
    };
    cases.reserve(12); // the references below stay valid
    // Three red and one blue give their mean; so do RGB (250,0,0) x2 and (240,10,0), giving
    // (246.7, 3.3, 0), and (0,0,250) and (0,10,240) x3, giving (0, 7.5, 242.5) rounded away
    // from zero; one colour group for each, and 16 groups of one.
    auto &one = cases.emplace_back("one colour group", 4, 1, SolidOptions {.colourGroups = 1});
    auto &two = cases.emplace_back("two clusters into two groups", 7, 1,
                                   SolidOptions {.colourGroups = 2});
    auto &sixteen
        = cases.emplace_back("16 colour groups", 16, 1, SolidOptions {.colourGroups = 16});
    for (int i = 0; i < 4; ++i)
        one.pillar({0, double(i), 0}, i < 3 ? kRed : kBlueColour, 1.6, 0x4000BF);
    const Colour given[] = {0xFA0000, 0x0000FA, 0x000AF0, 0xF00A00, 0x0000FA, 0xF00A00, 0xF00A00};
    for (int i = 0; i < 7; ++i)
        two.pillar({0, double(i), 0}, given[i], 1.6, given[i] & 0xFF ? 0x0003F7 : 0xF30800);
    for (int i = 0; i < 16; ++i)
        sixteen.pillar({double(i % 3), double(i), 0}, Colour(i * 0x0F0F0F) ^ 0x00F000,
                       2.1 - 0.25 * (i % 3));

    // Three depths over 40 x 30 pixels with holes, four colours, never two points on a pixel:
    // columns touching along an edge and only diagonally, of equal and of other heights.
    auto &random = cases.emplace_back("random relief", 40, 30);
    std::mt19937 generator(12);
    const Colour palette[] = {kRed, kGreen, kBlueColour, 0x000000};
    for (int j = 0; j < 30; ++j)
        for (int i = 0; i < 40; ++i) {
            const bool corner = (i == 0 && j == 0) || (i == 39 && j == 29); // fixes the box
            if (!corner && generator() % 4 == 0)
                continue;
            const double depth = std::array {0, 3, 7}[generator() % 3];
            const Colour colour = palette[generator() % 4];
            random.point({depth, double(i - 20), double(j - 15)}, colour)
                .column(i, j, 1.6 + (7 - depth) * 0.25, colour);
        }

    // 線を太くする: a line one pixel wide becomes three, its ends one longer, each grown cell in
    // the height and colour of the nearest point; between two as near, the taller's.
    auto &line
        = cases.emplace_back("a one-pixel line thickened by 1", 3, 7, SolidOptions {.thicken = 1});
    for (int j = 0; j < 5; ++j)
        line.point({double(j), 0, double(j)}, j % 2 ? kRed : kGreen);
    for (int j = 0; j < 7; ++j)
        for (int i = 0, from = std::clamp(j - 1, 0, 4); i < 3; ++i)
            line.column(i, j, 1.6 + (4 - from) * 0.25, from % 2 ? kRed : kGreen);
    auto &tie = cases.emplace_back("two points a pixel apart thickened by 1", 5, 3,
                                   SolidOptions {.thicken = 1});
    tie.point({2, 0, 0}, kRed).point({0, 2, 0}, kGreen);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 5; ++i)
            tie.column(i, j, i < 2 ? 1.6 : 2.1, i < 2 ? kRed : kGreen);
    return cases;
}

using Vertex = std::array<double, 3>;
using Triangle = std::array<Vertex, 3>;

Vertex cross(const Vertex &a, const Vertex &b, const Vertex &c)
{
    const Vertex u = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Vertex v = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

std::vector<Triangle> corners(const Mesh &mesh)
{
    std::vector<Triangle> triangles;
    for (const auto &t : mesh.triangles) {
        Triangle &corners = triangles.emplace_back();
        for (int k = 0; k < 3; ++k)
            std::copy_n(mesh.vertices[t[k]].begin(), 3, corners[k].begin());
    }
    return triangles;
}

// The height of a mesh's upward, level faces over each cell's centre, in its colour.
void addTops(const Mesh &mesh, double pixelSize, Colour colour, Tops &tops)
{
    for (const Triangle &t : corners(mesh)) {
        if (t[0][2] != t[1][2] || t[1][2] != t[2][2] || cross(t[0], t[1], t[2])[2] <= 0)
            continue;
        const auto [left, right] = std::minmax({t[0][0], t[1][0], t[2][0]});
        const auto [bottom, top] = std::minmax({t[0][1], t[1][1], t[2][1]});
        for (int j = int(std::floor(bottom / pixelSize)); j <= int(top / pixelSize); ++j)
            for (int i = int(std::floor(left / pixelSize)); i <= int(right / pixelSize); ++i) {
                const Vertex centre = {(i + 0.5) * pixelSize, (j + 0.5) * pixelSize, t[0][2]};
                bool inside = true;
                for (int k = 0; k < 3; ++k)
                    inside = inside && cross(t[k], t[(k + 1) % 3], centre)[2] >= -1e-12;
                if (inside)
                    tops[{i, j}] = {t[0][2], colour};
            }
    }
}

// The volume a closed, outward-wound mesh encloses.
double enclosedVolume(const Mesh &mesh)
{
    double sum = 0;
    for (const Triangle &t : corners(mesh)) {
        const Vertex n = cross({0, 0, 0}, t[1], t[2]);
        sum += (t[0][0] * n[0] + t[0][1] * n[1] + t[0][2] * n[2]) / 6;
    }
    return sum;
}

// Why the mesh is not one closed, outward-wound solid, each edge used once each way; or empty.
QString solidProblem(const Mesh &mesh)
{
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges; // directed
    const std::vector<Triangle> triangles = corners(mesh);
    for (std::size_t i = 0; i < mesh.triangles.size(); ++i) {
        if (cross(triangles[i][0], triangles[i][1], triangles[i][2]) == Vertex {0, 0, 0})
            return QString("triangle %1 is degenerate").arg(i);
        for (int k = 0; k < 3; ++k)
            ++edges[{mesh.triangles[i][k], mesh.triangles[i][(k + 1) % 3]}];
    }
    for (const auto &[edge, uses] : edges)
        if (uses != 1 || !edges.contains({edge.second, edge.first}))
            return QString("edge %1-%2 is not used once each way").arg(edge.first).arg(edge.second);
    return triangles.empty() || enclosedVolume(mesh) <= 0 ? "the faces point inwards" : "";
}

// lib3mf hands out references that must be given back.
using Lib3mf
    = std::unique_ptr<PLib3MFBase, decltype([](PLib3MFBase *object) { lib3mf_release(object); })>;

template<typename Call, typename... In> Lib3mf get(Call call, In... in)
{
    PLib3MFBase *object = nullptr;
    call(in..., &object);
    return Lib3mf(object);
}

// One object of the 3MF's assembly as lib3mf's reader gives it back: its name, its base
// material's display colour (-1 if none, -2 if not opaque) and its mesh.
std::tuple<QString, Colour, Mesh> readPart(PLib3MFModel *model, PLib3MFModelObjectResource *object)
{
    char name[64] = {};
    ULONG length = 0;
    lib3mf_object_getnameutf8(object, name, sizeof name, &length);
    Colour material = -1;
    const Lib3mf properties = get(lib3mf_object_createdefaultpropertyhandler, object);
    DWORD group = 0, index = 0;
    if (lib3mf_defaultpropertyhandler_getbasematerial(properties.get(), &group, &index)
        == LIB3MF_OK) {
        BYTE red = 0, green = 0, blue = 0, alpha = 0;
        const Lib3mf materials = get(lib3mf_model_getbasematerialbyid, model, group);
        lib3mf_basematerial_getdisplaycolor(materials.get(), index, &red, &green, &blue, &alpha);
        material = alpha == 255 ? Colour(red | green << 8 | blue << 16) : -2;
    }
    Mesh mesh; // read up to the first index out of range
    MODELMESHVERTEX v;
    for (DWORD i = 0; lib3mf_meshobject_getvertex(object, i, &v) == LIB3MF_OK; ++i)
        mesh.vertices.push_back({v.m_fPosition[0], v.m_fPosition[1], v.m_fPosition[2]});
    MODELMESHTRIANGLE t;
    for (DWORD i = 0; lib3mf_meshobject_gettriangle(object, i, &t) == LIB3MF_OK; ++i)
        mesh.triangles.push_back({t.m_nIndices[0], t.m_nIndices[1], t.m_nIndices[2]});
    return {name, material, mesh};
}

struct Summary {
    const char *name;
    std::vector<Coords> points;
    SolidOptions options = {};
    int thin = -1; // -1: refused
    double ratio = 0;
};

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private slots:
    // Every frame reported with the right total, its pixels, delay and looping as PIL reads
    // them; nothing returned where cancelled or refused.
    void animations_data()
    {
        using enum Animation::Error;
        Frames square = movingSquare({2, 5, 14}), mixed = movingSquare({0, 2}), short_ = mixed,
               wide = {Frame {16384, 1, Bytes(16384 * 4)}};
        mixed[1] = noise(1, 2, true)[0];
        short_[1].rgba.pop_back();
        std::vector<Animated> rows = {
            {"webp: a moving square, every frame exact", square, 100, None, 0, 100},
            {"webp: 4096 colours and their alpha exact", noise(2, 4096, false), 40, None, 0, 40},
            {"gif: a moving square, every frame exact", square, 100, None, 0, 100},
            {"gif: 256 colours in all exact", noise(3, 256, true), 50, None, 0, 50},
            {"gif: 75 ms becomes the nearest 10 ms", movingSquare({0, 1}), 75, None, 0, 80},
            {"webp: wider than WebP allows", wide, 100, FrameSize, 1},
        };
        for (const QString f : {"webp", "gif"})
            rows.insert(rows.end(),
                        {{f + ": cancelled at frame 2", square, 100, Cancelled, 0, 0, 2},
                         {f + ": no frames", {}, 100, NoFrames},
                         {f + ": second frame of another size", mixed, 100, FramesDiffer, 2},
                         {f + ": a buffer a byte short", short_, 100, FramesDiffer, 2},
                         {f + ": no delay", movingSquare({0}), 0, Delay}});
        addRows(rows);
    }
    void animations()
    {
        QFETCH(Animated, row);
        const QString format = row.name.section(':', 0, 0);
        int reported = 0; // frames told in order with the right total; -1 after any other call
        const auto encoded = encode(format, row.frames, row.delay, [&](int done, int total) {
            const bool next = done == reported + 1 && total == int(row.frames.size());
            reported = reported >= 0 && next ? done : -1;
            return done != row.cancelAt;
        });
        QCOMPARE(encoded.error, row.error);
        QCOMPARE(encoded.frame, row.frame);
        QCOMPARE(encoded.bytes.empty(), row.error != Animation::Error::None);
        if (row.error == Animation::Error::Cancelled)
            QCOMPARE(reported, row.cancelAt);
        if (row.error != Animation::Error::None)
            return;
        QCOMPARE(reported, int(row.frames.size()));
        const ReadBack read = readBack("frames." + format, encoded.bytes);
        REQUIRE_READ(read);
        QCOMPARE(read.seen["formats"].toArray(), QJsonArray {format.toUpper()});
        QCOMPARE(read.seen["loop"].toInt(-1), 0);
        for (const QJsonValue duration : read.seen["durations"].toArray())
            QCOMPARE(duration.toInt(), row.storedDelay);
        QByteArray pixels; // every frame, each of the first one's size
        for (const Frame &frame : row.frames)
            pixels += asBytes(frame.rgba);
        QCOMPARE(read.pixels, pixels);
    }

    // A turntable in 16 colours with depth shading, far more than 256 in all: the GIF's
    // frames stay within 3 levels a channel of the lossless WebP's, on average over the
    // model's pixels, as PIL reads both.
    void gifCloseToWebP()
    {
        const Frames frames
            = renderTurntable(seededModel(20000, 3, 95, 1, 16),
                              {.frames = 12, .size = 256, .style = {1, true}, .start = {}});
        const ReadBack webpRead = readBack("frames.webp", encode("webp", frames, 100).bytes);
        const ReadBack gifRead = readBack("frames.gif", encode("gif", frames, 100).bytes);
        REQUIRE_READ(webpRead);
        REQUIRE_READ(gifRead);
        QCOMPARE(gifRead.pixels.size(), webpRead.pixels.size());
        const auto *webp = reinterpret_cast<const std::uint8_t *>(webpRead.pixels.constData());
        const auto *gif = reinterpret_cast<const std::uint8_t *>(gifRead.pixels.constData());
        double difference = 0, channels = 0;
        for (qsizetype p = 0; p < webpRead.pixels.size(); p += 4)
            for (int c = 0; c < 3 && (webp[p] & webp[p + 1] & webp[p + 2]) != 0xFF; ++c, ++channels)
                difference += std::abs(webp[p + c] - gif[p + c]);
        QVERIFY2(channels > 0 && difference / channels <= 3,
                 qPrintable(QString::number(difference / channels)));
    }

    // Every kind refuses what it cannot export, and counts what it leaves out. A point cloud
    // has x = horizontal, y = vertical, z = -depth; floats where the format holds floats. The
    // glb in metres, 0.25 mm a pixel, about the middle of the points' bounds.
    void everyKind_data()
    {
        QTest::addColumn<ExportFunction *>("exporter");
        QTest::addColumn<ExportOptions>("options");
        QTest::newRow("ply: binary, meshio") << &exportPly << ExportOptions {};
        QTest::newRow("ply: ASCII, meshio") << &exportPly << ExportOptions {.ply = {true}};
        QTest::newRow("xyz: numpy") << &exportXyz << ExportOptions {};
        QTest::newRow("glb: json and struct, gltf-validator") << &exportGlb << ExportOptions {};
        QTest::newRow("stl: read back in relief") << &exportStl << ExportOptions {};
        QTest::newRow("3mf: read back in relief") << &export3mf << ExportOptions {};
    }
    void everyKind()
    {
        QFETCH(ExportFunction *, exporter);
        QFETCH(ExportOptions, options);
        const double nan = std::nan("");
        QVERIFY(!exporter({}, {}, {}).ok() && exporter({}, {}, {}).bytes.empty());
        QVERIFY(!exporter(std::vector<Coords> {{0, 0, 0}}, {}, {}).ok());
        QVERIFY(!exporter(std::vector<Coords> {{nan, 0, 0}}, std::vector<Colour> {0}, {}).ok());
        ExportResult result
            = exporter(std::vector<Coords> {{0, 0, 0}, {nan, 0, 0}, {1, 1, -HUGE_VAL}},
                       std::vector<Colour>(3, 0), {});
        QCOMPARE(result.error, ExportError::None);
        QVERIFY(!result.bytes.empty());
        QCOMPARE(result.nonFinite, 2);
        const QString kind = QString(QTest::currentDataTag()).section(':', 0, 0);
        if (kind == "stl" || kind == "3mf")
            return;
        const bool asFloat = kind != "xyz", glb = kind == "glb";
        result = exporter(kPoints, kColours, options);
        QVERIFY(result.ok());
        QCOMPARE(result.nonFinite, asFloat ? 3 : 2);
        std::vector<std::vector<double>> points, colours, bounds(2);
        for (std::size_t i = 0; i < kPoints.size(); ++i) {
            const Coords &p = kPoints[i];
            if (!std::isfinite(p[0] + p[1] + p[2]) || (asFloat && p[Horizontal] > FLT_MAX))
                continue;
            points.push_back({p[Horizontal], p[Vertical], -p[Depth]});
            colours.push_back({double(kColours[i] & 0xFF), double(kColours[i] >> 8 & 0xFF),
                               double(kColours[i] >> 16 & 0xFF)});
        }
        for (std::size_t axis = 0; axis < 3; ++axis) { // stored rounding keeps the order
            const auto along = [axis](const std::vector<double> &point) { return point[axis]; };
            const auto [low, high] = std::ranges::minmax(points, {}, along);
            const double middle = glb ? low[axis] / 2 + high[axis] / 2 : 0;
            for (auto &point : points) {
                point[axis] = (point[axis] - middle) * (glb ? 0.00025 : 1);
                point[axis] = asFloat ? storedAsFloat(point[axis]) : point[axis];
            }
            bounds[0].push_back(std::ranges::min(points, {}, along)[axis]);
            bounds[1].push_back(std::ranges::max(points, {}, along)[axis]);
        }
        const ReadBack read = readBack(kind, result.bytes);
        REQUIRE_READ(read);
        QCOMPARE(rows(read.seen["points"]), points);
        QCOMPARE(rows(read.seen["colours"]), colours);
        if (kind == "ply") // the header's own count, which meshio does not hold to
            QCOMPARE(read.seen["vertices"].toInt(), int(points.size()));
        if (!glb)
            return;
        QCOMPARE(read.seen["header"].toArray(), (QJsonArray {"glTF", 2, true}));
        QCOMPARE(rows(read.seen["bounds"]), bounds);
        QCOMPARE(read.seen["mode"].toInt(), 0); // POINTS
        // No error, warning or note from the Khronos validator, which also checks the bounds.
        const QJsonValue issues = read.seen["issues"];
        REQUIRE_READER(issues.isObject(), "node, and scripts/install-gltf-validator.sh run");
        const int found = issues["numErrors"].toInt() + issues["numWarnings"].toInt();
        QVERIFY2(found + issues["numInfos"].toInt() == 0,
                 QJsonDocument(issues.toObject()).toJson().constData());
    }

    // The options dialog's summary. lib3mf reads the plain 3MF, without warnings, as one build item
    // of the colour groups' and plate's objects, closed solids named and coloured as their columns;
    // in the STL meshio finds each cell's top, admesh one closed part of that volume and no repair.
    void relief_data() { addRows(reliefCases()); }
    void relief()
    {
        QFETCH(ReliefCase, row);
        const SolidSummary summary = summarizeSolid(row.points, row.colours, row.options);
        const double plate = row.across * row.up * row.cellArea() * row.options.baseThickness;
        double thickness = 0, volume = plate;
        for (const auto &[cell, column] : row.columns) {
            thickness = std::max(thickness, column.first);
            volume += (column.first - row.options.baseThickness) * row.cellArea();
        }
        QVERIFY(summary.ok());
        QCOMPARE((std::array {summary.width, summary.height, double(float(summary.thickness))}),
                 (std::array {row.across * row.options.pixelSize, row.up * row.options.pixelSize,
                              double(float(thickness))}));
        QCOMPARE((std::array {summary.nonFinite, summary.snapped, summary.dropped,
                              int(summary.columns)}),
                 (std::array {row.nonFinite, row.snapped, row.dropped, int(row.columns.size())}));

        row.options.slicer = Slicer::Plain; // the layout lib3mf reads; the STL has none
        ExportResult result = export3mf(row.points, row.colours, {.solid = row.options});
        QCOMPARE(result.error, ExportError::None);
        QCOMPARE(result.dropped, row.dropped);
        const Lib3mf model = get(lib3mf_createmodel);
        const Lib3mf reader = get(lib3mf_model_queryreader, model.get(), "3mf");
        QCOMPARE(
            lib3mf_reader_readfrombuffer(reader.get(), result.bytes.data(), result.bytes.size()),
            LIB3MF_OK);
        DWORD warnings = 1, unit = 0, components = 0;
        lib3mf_reader_getwarningcount(reader.get(), &warnings);
        lib3mf_model_getunit(model.get(), &unit);
        QVERIFY(warnings == 0 && unit == DWORD(MODELUNIT_MILLIMETER));
        const Lib3mf items = get(lib3mf_model_getbuilditems, model.get());
        BOOL more = false, isAssembly = false;
        QVERIFY(lib3mf_builditemiterator_movenext(items.get(), &more) == LIB3MF_OK && more);
        const Lib3mf item = get(lib3mf_builditemiterator_getcurrent, items.get());
        QVERIFY(lib3mf_builditemiterator_movenext(items.get(), &more) == LIB3MF_OK && !more);
        const Lib3mf assembly = get(lib3mf_builditem_getobjectresource, item.get());
        lib3mf_object_iscomponentsobject(assembly.get(), &isAssembly);
        QVERIFY(isAssembly);
        lib3mf_componentsobject_getcomponentcount(assembly.get(), &components);
        Tops seen;
        std::set<Colour> groupColours;
        bool plateSeen = false;
        for (DWORD n = 0; n < components; ++n) {
            const Lib3mf component = get(lib3mf_componentsobject_getcomponent, assembly.get(), n);
            const Lib3mf object = get(lib3mf_component_getobjectresource, component.get());
            const auto [name, material, mesh] = readPart(model.get(), object.get());
            QCOMPARE(name + ": " + solidProblem(mesh), name + ": ");
            if (name == "Base plate") {
                plateSeen = true;
                QCOMPARE(material, kWhite);
                QVERIFY(qAbs(enclosedVolume(mesh) - plate) < 1e-5);
            } else {
                QVERIFY(groupColours.insert(material).second);
                addTops(mesh, row.options.pixelSize, material, seen);
            }
        }
        QVERIFY(plateSeen);
        QCOMPARE(seen, row.columns);

        result = exportStl(row.points, row.colours, {.solid = row.options});
        QCOMPARE(result.error, ExportError::None);
        // admesh runs whether or not meshio is there; a missing one is named at the end.
        const bool haveAdmesh = !QStandardPaths::findExecutable("admesh").isEmpty();
        if (haveAdmesh) {
            const QTemporaryDir dir;
            QVERIFY(write(dir.filePath("relief.stl"), asBytes(result.bytes)));
            QProcess admesh;
            admesh.start("admesh", {dir.filePath("relief.stl")});
            QVERIFY(admesh.waitForFinished(-1));
            const QString report = admesh.readAllStandardOutput();
            const auto value = [&](const QString &label) {
                const auto match = QRegularExpression(label + R"(\s*:\s*([-0-9.]+))").match(report);
                return match.hasMatch() ? match.captured(1).toDouble() : -1;
            };
            for (const char *label : {"Facets removed", "Backwards edges", "Normals fixed",
                                      "Edges fixed", "Facets reversed", "Degenerate facets"})
                QVERIFY2(value(label) == 0, qPrintable(label + (": " + report)));
            QCOMPARE(value("Number of parts"), 1.0);
            QVERIFY2(qAbs(value("Volume") - volume) < 1e-5 + 1e-5 * volume, qPrintable(report));
        }
        const ReadBack read = readBack("stl", result.bytes);
        REQUIRE_READ(read);
        Mesh mesh;
        for (const auto &v : rows(read.seen["vertices"]))
            mesh.vertices.push_back({float(v[0]), float(v[1]), float(v[2])});
        for (const auto &t : rows(read.seen["triangles"]))
            mesh.triangles.push_back({unsigned(t[0]), unsigned(t[1]), unsigned(t[2])});
        seen.clear();
        addTops(mesh, row.options.pixelSize, kWhite, seen);
        Tops tops = row.columns; // no colours, and the plate where there is no column
        for (auto &[cell, top] : tops)
            top.second = kWhite;
        for (int j = 0; j < row.up; ++j)
            for (int i = 0; i < row.across; ++i)
                tops.try_emplace({i, j}, storedAsFloat(row.options.baseThickness), kWhite);
        QCOMPARE(seen, tops);
        REQUIRE_READER(haveAdmesh, "admesh");
    }

    // What the options dialog shows before anything is written: a refusal, or the columns in
    // lines thinner than the nozzle and the tallest column to its line's width; pixels 0.25 mm,
    // the farthest point 0.6 mm above the plate, 0.25 mm a unit of depth.
    void summary_data()
    {
        std::vector<Coords> one = {{0, 0, 0}}, bar, line;
        for (int j = 0; j < 4; ++j) {
            bar.insert(bar.end(), {{0, 0, double(j)}, {0, 1, double(j)}});
            line.push_back({0, 0, double(j)});
        }
        addRows<Summary>({
            {"refused: no pixel size", one, {.pixelSize = 0}},
            {"refused: NaN depth scale", one, {.depthScale = std::nan("")}},
            {"refused: no ink", one, {.inkHeight = 0}},
            {"refused: no base", one, {.baseThickness = 0}},
            {"refused: no colour group", one, {.colourGroups = 0}},
            {"refused: 17 colour groups", one, {.colourGroups = 17}},
            {"refused: a nozzle of 0.05 mm", one, {.nozzle = 0.05}},
            {"refused: thickened by 5", one, {.thicken = 5}},
            {"refused: thickened by -1", one, {.thicken = -1}},
            {"refused: 2001 pixels across", {{0, 0, 0}, {0, 2000, 0}}},
            {"refused: over 1 km thick", {{0, 0, 0}, {1e300, 1, 0}}},
            {"a lone pixel", one, {}, 1, 0.6 / 0.25},
            {"a bar two pixels wide", bar, {}, 0, 0.6 / 0.5},
            {"the bar, a wider nozzle", bar, {.nozzle = 0.6}, 8, 1.2},
            {"a line of 4 a pixel wide", line, {}, 4, 2.4},
            {"the line thickened by 1", line, {.thicken = 1}, 0, 0.6 / 0.75},
            {"45 in front of another", {{0, 0, 0}, {45, 2, 0}}, {}, 2, (45 * 0.25 + 0.6) / 0.25},
        });
    }
    void summary()
    {
        QFETCH(Summary, row);
        const std::vector<Colour> colours(row.points.size(), kRed);
        const SolidSummary summary = summarizeSolid(row.points, colours, row.options);
        QCOMPARE(summary.ok(), row.thin >= 0);
        QCOMPARE(buildRelief(row.points, colours, row.options).ok(), row.thin >= 0);
        QCOMPARE(int(summary.printability.thinColumns), std::max(row.thin, 0));
        QVERIFY2(qAbs(summary.printability.tallestRatio - row.ratio) < 1e-5,
                 qPrintable(QString::number(summary.printability.tallestRatio)));
        QCOMPARE(summary.printability.warns(), row.thin > 0 || row.ratio > 8);
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
