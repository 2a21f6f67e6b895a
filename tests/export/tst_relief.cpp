#include "colour_groups.h"
#include "relief.h"
#include "relief_cases.h"
#include "relief_mesh.h"

#include <QTest>

#include <algorithm>
#include <set>

Q_DECLARE_METATYPE(std::vector<Colour>)
Q_DECLARE_METATYPE(std::vector<ColourGroup>)
Q_DECLARE_METATYPE(std::vector<Coords>)
Q_DECLARE_METATYPE(SolidOptions)

namespace {

Triangle cornersOf(const Mesh &mesh, const std::array<std::uint32_t, 3> &triangle)
{
    Triangle corners;
    for (int k = 0; k < 3; ++k)
        for (int axis = 0; axis < 3; ++axis)
            corners[k][axis] = mesh.vertices[triangle[k]][axis];
    return corners;
}

std::vector<Triangle> corners(const Mesh &mesh)
{
    std::vector<Triangle> triangles;
    for (const auto &triangle : mesh.triangles)
        triangles.push_back(cornersOf(mesh, triangle));
    return triangles;
}

// What keeps the mesh from being one closed, 2-manifold, outward-wound solid; empty if nothing.
QString solidProblem(const Mesh &mesh)
{
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges; // directed
    std::set<std::array<std::uint32_t, 3>> seen;
    std::map<std::uint32_t, std::map<std::uint32_t, std::uint32_t>> fans; // around a vertex
    for (std::size_t i = 0; i < mesh.triangles.size(); ++i) {
        const auto &t = mesh.triangles[i];
        auto sorted = t;
        std::sort(sorted.begin(), sorted.end());
        if (!seen.insert(sorted).second)
            return QString("triangle %1 repeats another").arg(i);
        const Triangle c = cornersOf(mesh, t);
        const Vertex normal = cross(c[0], c[1], c[2]);
        if (normal[0] == 0 && normal[1] == 0 && normal[2] == 0)
            return QString("triangle %1 is degenerate").arg(i);
        for (int k = 0; k < 3; ++k) {
            ++edges[{t[k], t[(k + 1) % 3]}];
            fans[t[k]][t[(k + 1) % 3]] = t[(k + 2) % 3];
        }
    }
    for (const auto &[edge, uses] : edges)
        if (uses != 1 || !edges.contains({edge.second, edge.first}))
            return QString("edge %1-%2 is not used once each way").arg(edge.first).arg(edge.second);
    for (const auto &[vertex, fan] : fans) { // the faces round a vertex form one cycle
        std::size_t steps = 0;
        std::uint32_t at = fan.begin()->first;
        do
            at = fan.at(at), ++steps;
        while (at != fan.begin()->first && steps <= fan.size());
        if (steps != fan.size())
            return QString("vertex %1 joins two separate fans").arg(vertex);
    }
    if (enclosedVolume(corners(mesh)) <= 0)
        return "the faces point inwards";
    return {};
}

} // namespace

class TestRelief : public QObject {
    Q_OBJECT

private slots:
    // The whole relief, each colour group's columns and the plate are closed solids of the right
    // shape.
    void meshes_data() { addCaseRows(); }
    void meshes()
    {
        QFETCH(int, index);
        const ReliefCase c = reliefCases()[std::size_t(index)];
        const Relief relief = buildRelief(c.points, c.colours, c.options);
        QVERIFY2(relief.ok(), relief.error.c_str());

        const Mesh solid = reliefSolid(relief);
        QCOMPARE(solidProblem(solid), QString());
        QVERIFY(qAbs(enclosedVolume(corners(solid)) - c.volume()) < 1e-4 * c.volume());
        QCOMPARE(topsSeen(corners(solid), c.options.pixelSize), c.tops(true));

        const ColourGrouping grouping = groupColours(columnColours(relief), c.options.colourGroups);
        const std::vector<int> groupOfCell = groupOfCells(relief, grouping);
        double volume = 0;
        for (std::size_t group = 0; group < grouping.groups.size(); ++group) {
            const Mesh columns = columnSolid(relief, groupOfCell, int(group));
            QCOMPARE(solidProblem(columns), QString());
            volume += enclosedVolume(corners(columns));
        }
        const Mesh plate = plateSolid(relief);
        QCOMPARE(solidProblem(plate), QString());
        QVERIFY(qAbs(enclosedVolume(corners(plate)) - c.plateVolume()) < 1e-4 * c.plateVolume());
        QVERIFY(qAbs(volume + c.plateVolume() - c.volume()) < 1e-4 * c.volume());
    }

    void summary_data() { addCaseRows(); }
    void summary()
    {
        QFETCH(int, index);
        const ReliefCase c = reliefCases()[std::size_t(index)];
        const SolidSummary summary = summarizeSolid(c.points, c.colours, c.options);
        double thickness = 0;
        for (const auto &[cell, column] : c.columns)
            thickness = std::max(thickness, column.first);
        QVERIFY(summary.ok());
        QCOMPARE(summary.width, c.across * c.options.pixelSize);
        QCOMPARE(summary.height, c.up * c.options.pixelSize);
        QCOMPARE(float(summary.thickness), float(thickness));
        QCOMPARE(summary.nonFinite, c.nonFinite);
        QCOMPARE(summary.snapped, c.snapped);
        QCOMPARE(summary.dropped, c.dropped);
        QCOMPARE(summary.columns, c.columns.size());
    }

    void colourGroups_data()
    {
        QTest::addColumn<std::vector<Colour>>("colours");
        QTest::addColumn<int>("maxGroups");
        QTest::addColumn<std::vector<ColourGroup>>("groups");
        QTest::newRow("fewer colours than groups: each its own, most used first")
            << std::vector<Colour> {kBlueColour, kRed, kRed} << 4
            << std::vector<ColourGroup> {{kRed, 2}, {kBlueColour, 1}};
        // RGB (250,0,0) x2 and (240,10,0) give (246.7, 3.3, 0); (0,0,250) and (0,10,240) x3 give
        // (0, 7.5, 242.5), rounded away from zero.
        QTest::newRow("two clusters into two groups, each with its mean")
            << std::vector<Colour> {0xFA0000, 0x0000FA, 0x000AF0, 0xF00A00,
                                    0x0000FA, 0xF00A00, 0xF00A00}
            << 2 << std::vector<ColourGroup> {{0xF30800, 4}, {0x0003F7, 3}};
        QTest::newRow("two colours into one group") << std::vector<Colour> {0x000000, 0xFFFFFF} << 1
                                                    << std::vector<ColourGroup> {{0x808080, 2}};
    }
    void colourGroups()
    {
        QFETCH(std::vector<Colour>, colours);
        QFETCH(int, maxGroups);
        QFETCH(std::vector<ColourGroup>, groups);
        const ColourGrouping grouping = groupColours(colours, maxGroups);
        QCOMPARE(grouping.groups.size(), groups.size());
        for (std::size_t g = 0; g < groups.size(); ++g) {
            QCOMPARE(grouping.groups[g].swatch, groups[g].swatch);
            QCOMPARE(grouping.groups[g].points, groups[g].points);
        }
        std::vector<Colour> reversed(colours.rbegin(), colours.rend());
        const ColourGrouping again = groupColours(reversed, maxGroups);
        for (std::size_t i = 0; i < colours.size(); ++i) // the same groups in any order
            QCOMPARE(again.groupOf[colours.size() - 1 - i], grouping.groupOf[i]);
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
};

QTEST_GUILESS_MAIN(TestRelief)
#include "tst_relief.moc"
