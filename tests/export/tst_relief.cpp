#include "colour_groups.h"
#include "export.h"
#include "readers.h"
#include "relief.h"
#include "relief_mesh.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>

using namespace NMR;

Q_DECLARE_METATYPE(std::vector<Coords>)
Q_DECLARE_METATYPE(SolidOptions)

namespace {

constexpr Colour kRed = 0x0000FF, kGreen = 0x00FF00, kBlueColour = 0xFF0000;
using Cell = std::pair<int, int>; // counted from the bounding box's bottom left

// A model and the relief it must give.
struct ReliefCase {
    std::string name;
    int across = 0, up = 0;
    SolidOptions options {};
    int nonFinite = 0, snapped = 0, dropped = 0;
    std::vector<Coords> points {}; // {depth, horizontal, vertical}
    std::vector<Colour> colours {};
    std::map<Cell, std::pair<double, Colour>> columns {}; // cell: top in mm, colour

    ReliefCase &point(Coords point, Colour colour)
    {
        points.push_back(point);
        colours.push_back(colour);
        return *this;
    }
    ReliefCase &column(int i, int j, double top, Colour colour)
    {
        columns[{i, j}] = {top, colour};
        return *this;
    }
    // A point at a cell's corner (the box's own at 0, 0) and the column it gives there.
    ReliefCase &pillar(Coords p, Colour colour, double top, Colour shown = -1)
    {
        return point(p, colour).column(int(p[1]), int(p[2]), top, shown < 0 ? colour : shown);
    }
    // The top of each cell a reader must see; with plateCells the plate's where there is no column.
    std::map<Cell, double> tops(bool plateCells) const
    {
        std::map<Cell, double> result;
        for (int j = 0; j < up; ++j)
            for (int i = 0; i < across; ++i)
                if (columns.contains({i, j}))
                    result[{i, j}] = storedAsFloat(columns.at({i, j}).first);
                else if (plateCells)
                    result[{i, j}] = storedAsFloat(options.baseThickness);
        return result;
    }
    double plateVolume() const
    {
        return across * up * options.pixelSize * options.pixelSize * options.baseThickness;
    }
    double volume() const
    {
        double sum = plateVolume();
        for (const auto &[cell, column] : columns)
            sum += (column.first - options.baseThickness) * options.pixelSize * options.pixelSize;
        return sum;
    }
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
    ReliefCase &one
        = cases.emplace_back(ReliefCase {"one colour group", 4, 1, {.colourGroups = 1}});
    ReliefCase &two = cases.emplace_back(
        ReliefCase {"two clusters into two groups", 7, 1, {.colourGroups = 2}});
    ReliefCase &sixteen
        = cases.emplace_back(ReliefCase {"16 colour groups", 16, 1, {.colourGroups = 16}});
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
    ReliefCase &random = cases.emplace_back(ReliefCase {"random relief", 40, 30});
    std::mt19937 generator(12);
    const double depths[] = {0, 3, 7};
    const Colour palette[] = {kRed, kGreen, kBlueColour, 0x000000};
    for (int j = 0; j < 30; ++j)
        for (int i = 0; i < 40; ++i) {
            const bool corner = (i == 0 && j == 0) || (i == 39 && j == 29); // fixes the box
            if (!corner && generator() % 4 == 0)
                continue;
            const double depth = depths[generator() % 3];
            const Colour colour = palette[generator() % 4];
            random.point({depth, double(i - 20), double(j - 15)}, colour)
                .column(i, j, 1.6 + (7 - depth) * 0.25, colour);
        }

    // 線を太くする: a line one pixel wide becomes three, its ends one longer, each grown cell in
    // the height and colour of the nearest point; between two as near, the taller's.
    ReliefCase &line
        = cases.emplace_back(ReliefCase {"a one-pixel line thickened by 1", 3, 7, {.thicken = 1}});
    for (int j = 0; j < 5; ++j)
        line.point({double(j), 0, double(j)}, j % 2 ? kRed : kGreen);
    for (int j = 0; j < 7; ++j)
        for (int i = 0; i < 3; ++i) {
            const int from = std::clamp(j - 1, 0, 4);
            line.column(i, j, 1.6 + (4 - from) * 0.25, from % 2 ? kRed : kGreen);
        }
    ReliefCase &tie = cases.emplace_back(
        ReliefCase {"two points a pixel apart thickened by 1", 5, 3, {.thicken = 1}});
    tie.point({2, 0, 0}, kRed).point({0, 2, 0}, kGreen);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 5; ++i)
            tie.column(i, j, i < 2 ? 1.6 : 2.1, i < 2 ? kRed : kGreen);
    return cases;
}

void addCaseRows()
{
    QTest::addColumn<int>("index");
    const auto cases = reliefCases();
    for (std::size_t i = 0; i < cases.size(); ++i)
        QTest::newRow(cases[i].name.c_str()) << int(i);
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

// The height of the upward, level faces over each cell's centre.
std::map<Cell, double> topsSeen(const std::vector<Triangle> &triangles, double pixelSize)
{
    std::map<Cell, double> tops;
    for (const Triangle &t : triangles) {
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
                    tops[{i, j}] = t[0][2];
            }
    }
    return tops;
}

// The volume a closed, outward-wound mesh encloses.
double enclosedVolume(const std::vector<Triangle> &triangles)
{
    double sum = 0;
    for (const Triangle &t : triangles) {
        const Vertex n = cross({0, 0, 0}, t[1], t[2]);
        sum += (t[0][0] * n[0] + t[0][1] * n[1] + t[0][2] * n[2]) / 6;
    }
    return sum;
}

// What keeps the mesh from being one closed, outward-wound solid without a vertex inside
// an edge: each edge used once each way; empty if nothing.
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
    if (triangles.empty() || enclosedVolume(triangles) <= 0)
        return "the faces point inwards";
    return {};
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

// One object of the 3MF's assembly as lib3mf's reader gives it back.
struct Part {
    QString name;
    Colour material = -1; // its base material's display colour; -1 if it has none
    Mesh mesh;
};

Part readPart(PLib3MFModel *model, PLib3MFModelObjectResource *object)
{
    Part part;
    char name[64] = {};
    ULONG length = 0;
    lib3mf_object_getnameutf8(object, name, sizeof name, &length);
    part.name = name;
    const Lib3mf properties = get(lib3mf_object_createdefaultpropertyhandler, object);
    DWORD group = 0, index = 0;
    if (lib3mf_defaultpropertyhandler_getbasematerial(properties.get(), &group, &index)
        == LIB3MF_OK) {
        const Lib3mf materials = get(lib3mf_model_getbasematerialbyid, model, group);
        BYTE red = 0, green = 0, blue = 0, alpha = 0;
        lib3mf_basematerial_getdisplaycolor(materials.get(), index, &red, &green, &blue, &alpha);
        part.material = alpha == 255 ? Colour(red | green << 8 | blue << 16) : -2;
    }
    DWORD vertexCount = 0, triangleCount = 0;
    lib3mf_meshobject_getvertexcount(object, &vertexCount);
    lib3mf_meshobject_gettrianglecount(object, &triangleCount);
    std::vector<MODELMESHVERTEX> vertices(vertexCount);
    std::vector<MODELMESHTRIANGLE> triangles(triangleCount);
    lib3mf_meshobject_getvertices(object, vertices.data(), vertexCount, nullptr);
    lib3mf_meshobject_gettriangleindices(object, triangles.data(), triangleCount, nullptr);
    for (const MODELMESHVERTEX &v : vertices)
        part.mesh.vertices.push_back({v.m_fPosition[0], v.m_fPosition[1], v.m_fPosition[2]});
    for (const MODELMESHTRIANGLE &t : triangles)
        part.mesh.triangles.push_back({t.m_nIndices[0], t.m_nIndices[1], t.m_nIndices[2]});
    return part;
}

} // namespace

class TestRelief : public QObject {
    Q_OBJECT

private slots:
    // The summary the options dialog shows; meshio sees every cell's top where the model puts
    // it; admesh finds one closed part of the columns' and the plate's volume, nothing to repair.
    void stl_data() { addCaseRows(); }
    void stl()
    {
        QFETCH(int, index);
        const ReliefCase c = reliefCases()[std::size_t(index)];
        const SolidSummary summary = summarizeSolid(c.points, c.colours, c.options);
        double thickness = 0;
        for (const auto &[cell, column] : c.columns)
            thickness = std::max(thickness, column.first);
        QVERIFY(summary.ok());
        QCOMPARE((std::array {summary.width, summary.height, double(float(summary.thickness))}),
                 (std::array {c.across * c.options.pixelSize, c.up * c.options.pixelSize,
                              double(float(thickness))}));
        QCOMPARE((std::array {summary.nonFinite, summary.snapped, summary.dropped,
                              int(summary.columns)}),
                 (std::array {c.nonFinite, c.snapped, c.dropped, int(c.columns.size())}));

        const ExportResult result = exportStl(c.points, c.colours, {.solid = c.options});
        QCOMPARE(result.error, ExportError::None);
        const ReadBack read = readBack("stl", result.bytes);
        REQUIRE_READ(read);
        std::vector<Triangle> triangles;
        for (const QJsonValue &t : read.seen["triangles"].toArray()) {
            const auto corners = rows(t);
            Triangle &triangle = triangles.emplace_back();
            for (int k = 0; k < 3; ++k)
                std::copy_n(corners[k].begin(), 3, triangle[k].begin());
        }
        QCOMPARE(topsSeen(triangles, c.options.pixelSize), c.tops(true));

        REQUIRE_READER(!QStandardPaths::findExecutable("admesh").isEmpty(), "admesh");
        const QTemporaryDir dir;
        QVERIFY(write(dir.filePath("relief.stl"), asBytes(result.bytes)));
        QProcess admesh;
        admesh.start("admesh", {dir.filePath("relief.stl")});
        QVERIFY(admesh.waitForFinished(60000));
        const QString report = admesh.readAllStandardOutput();
        const auto value = [&](const QString &label) {
            const auto match = QRegularExpression(label + R"(\s*:\s*([-0-9.]+))").match(report);
            return match.hasMatch() ? match.captured(1).toDouble() : -1;
        };
        for (const char *label : {"Facets removed", "Backwards edges", "Normals fixed",
                                  "Edges fixed", "Facets reversed", "Degenerate facets"})
            QVERIFY2(value(label) == 0, qPrintable(label + (": " + report)));
        QCOMPARE(value("Number of parts"), 1.0);
        QVERIFY2(qAbs(value("Volume") - c.volume()) < 1e-5 + 1e-5 * c.volume(), qPrintable(report));
    }

    // lib3mf reads the plain 3MF, without warnings, as one build item of the colour groups' and
    // the plate's objects, each a closed solid, named and coloured as its columns.
    void threeMf_data() { addCaseRows(); }
    void threeMf()
    {
        QFETCH(int, index);
        const ReliefCase c = reliefCases()[std::size_t(index)];
        SolidOptions plain = c.options;
        plain.slicer = Slicer::Plain;
        ExportResult result
            = export3mf(c.points, c.colours, {.solid = plain}); // lib3mf reads non-const
        QCOMPARE(result.error, ExportError::None);
        QCOMPARE(result.dropped, c.dropped);

        const Lib3mf model = get(lib3mf_createmodel);
        const Lib3mf reader = get(lib3mf_model_queryreader, model.get(), "3mf");
        QCOMPARE(
            lib3mf_reader_readfrombuffer(reader.get(), result.bytes.data(), result.bytes.size()),
            LIB3MF_OK);
        DWORD warnings = 1, unit = 0;
        lib3mf_reader_getwarningcount(reader.get(), &warnings);
        lib3mf_model_getunit(model.get(), &unit);
        QVERIFY(warnings == 0 && unit == DWORD(MODELUNIT_MILLIMETER));

        const Lib3mf items = get(lib3mf_model_getbuilditems, model.get());
        BOOL more = false;
        QVERIFY(lib3mf_builditemiterator_movenext(items.get(), &more) == LIB3MF_OK && more);
        const Lib3mf item = get(lib3mf_builditemiterator_getcurrent, items.get());
        QVERIFY(lib3mf_builditemiterator_movenext(items.get(), &more) == LIB3MF_OK && !more);
        const Lib3mf assembly = get(lib3mf_builditem_getobjectresource, item.get());
        BOOL isAssembly = false;
        lib3mf_object_iscomponentsobject(assembly.get(), &isAssembly);
        QVERIFY(isAssembly);

        DWORD components = 0;
        lib3mf_componentsobject_getcomponentcount(assembly.get(), &components);
        std::map<Cell, std::pair<double, Colour>> seen;
        std::set<Colour> groupColours;
        bool plateSeen = false;
        for (DWORD n = 0; n < components; ++n) {
            const Lib3mf component = get(lib3mf_componentsobject_getcomponent, assembly.get(), n);
            const Lib3mf object = get(lib3mf_component_getobjectresource, component.get());
            const Part part = readPart(model.get(), object.get());
            QCOMPARE(part.name + ": " + solidProblem(part.mesh), part.name + ": ");
            if (part.name == "Base plate") {
                plateSeen = true;
                QCOMPARE(part.material, kWhite);
                QVERIFY(qAbs(enclosedVolume(corners(part.mesh)) - c.plateVolume()) < 1e-5);
                continue;
            }
            QVERIFY(groupColours.insert(part.material).second);
            for (const auto &[cell, top] : topsSeen(corners(part.mesh), c.options.pixelSize))
                seen[cell] = {top, part.material};
        }
        QVERIFY(plateSeen);
        std::map<Cell, std::pair<double, Colour>> expected;
        for (const auto &[cell, top] : c.tops(false))
            expected[cell] = {top, c.columns.at(cell).second};
        QCOMPARE(seen, expected);
    }

    void refused_data()
    {
        QTest::addColumn<SolidOptions>("options");
        QTest::addColumn<std::vector<Coords>>("points");
        const std::vector<Coords> one = {{0, 0, 0}};
        QTest::newRow("no pixel size") << SolidOptions {.pixelSize = 0} << one;
        QTest::newRow("NaN depth scale") << SolidOptions {.depthScale = std::nan("")} << one;
        QTest::newRow("no ink") << SolidOptions {.inkHeight = 0} << one;
        QTest::newRow("no base") << SolidOptions {.baseThickness = 0} << one;
        QTest::newRow("no colour group") << SolidOptions {.colourGroups = 0} << one;
        QTest::newRow("17 colour groups") << SolidOptions {.colourGroups = 17} << one;
        QTest::newRow("a nozzle of 0.05 mm") << SolidOptions {.nozzle = 0.05} << one;
        QTest::newRow("thickened by 5") << SolidOptions {.thicken = 5} << one;
        QTest::newRow("thickened by -1") << SolidOptions {.thicken = -1} << one;
        QTest::newRow("2001 pixels across")
            << SolidOptions {} << std::vector<Coords> {{0, 0, 0}, {0, 2000, 0}};
        QTest::newRow("a relief over 1 km thick")
            << SolidOptions {} << std::vector<Coords> {{0, 0, 0}, {1e300, 1, 0}};
    }
    void refused()
    {
        QFETCH(SolidOptions, options);
        QFETCH(std::vector<Coords>, points);
        const std::vector<Colour> colours(points.size(), kRed);
        QVERIFY(!summarizeSolid(points, colours, options).ok());
        QVERIFY(!buildRelief(points, colours, options).ok());
    }

    // Columns in lines thinner than the nozzle, and the tallest column to its line's width;
    // pixels 0.25 mm, the farthest point 0.6 mm above the plate, 0.25 mm a unit of depth.
    void printFindings_data()
    {
        QTest::addColumn<std::vector<Coords>>("points");
        QTest::addColumn<SolidOptions>("options");
        QTest::addColumn<int>("thin");
        QTest::addColumn<double>("ratio");
        std::vector<Coords> bar, line;
        for (int j = 0; j < 4; ++j) {
            bar.insert(bar.end(), {{0, 0, double(j)}, {0, 1, double(j)}});
            line.push_back({0, 0, double(j)});
        }
        QTest::newRow("a lone pixel") << std::vector<Coords> {{0, 0, 0}} << SolidOptions {} << 1
                                      << 0.6 / 0.25;
        QTest::newRow("a bar two pixels wide") << bar << SolidOptions {} << 0 << 0.6 / 0.5;
        QTest::newRow("the bar, a wider nozzle") << bar << SolidOptions {.nozzle = 0.6} << 8 << 1.2;
        QTest::newRow("a line of 4 a pixel wide") << line << SolidOptions {} << 4 << 2.4;
        QTest::newRow("the line thickened by 1")
            << line << SolidOptions {.thicken = 1} << 0 << 0.6 / 0.75;
        QTest::newRow("a point 45 in front of another, apart")
            << std::vector<Coords> {{0, 0, 0}, {45, 2, 0}} << SolidOptions {} << 2
            << (45 * 0.25 + 0.6) / 0.25;
    }
    void printFindings()
    {
        QFETCH(std::vector<Coords>, points);
        QFETCH(SolidOptions, options);
        QFETCH(int, thin);
        QFETCH(double, ratio);
        const SolidSummary summary
            = summarizeSolid(points, std::vector<Colour>(points.size(), kRed), options);
        QVERIFY(summary.ok());
        QCOMPARE(int(summary.printability.thinColumns), thin);
        QVERIFY2(qAbs(summary.printability.tallestRatio - ratio) < 1e-5,
                 qPrintable(QString::number(summary.printability.tallestRatio)));
        QCOMPARE(summary.printability.warns(), thin > 0 || ratio > 8);
    }
};

QTEST_GUILESS_MAIN(TestRelief)
#include "tst_relief.moc"
