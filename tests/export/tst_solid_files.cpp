#include "export.h"
#include "readers.h"
#include "relief_cases.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <memory>
#include <set>

using namespace NMR;

namespace {

// Each directed edge once and its reverse once.
bool closed(const std::vector<MODELMESHTRIANGLE> &triangles)
{
    std::map<std::pair<DWORD, DWORD>, int> edges;
    for (const MODELMESHTRIANGLE &t : triangles)
        for (int k = 0; k < 3; ++k)
            ++edges[{t.m_nIndices[k], t.m_nIndices[(k + 1) % 3]}];
    for (const auto &[edge, uses] : edges)
        if (uses != 1 || !edges.contains({edge.second, edge.first}))
            return false;
    return true;
}

// lib3mf hands out references that must be given back.
using Lib3mf
    = std::unique_ptr<PLib3MFBase, decltype([](PLib3MFBase *object) { lib3mf_release(object); })>;

template<typename Get> Lib3mf get(Get get)
{
    PLib3MFBase *object = nullptr;
    get(&object);
    return Lib3mf(object);
}

// One object of the 3MF's assembly as lib3mf's reader gives it back.
struct Part {
    QString name;
    Colour material = -1; // its base material's display colour; -1 if it has none
    std::vector<Triangle> triangles;
    bool closed = false;
};

Part readPart(PLib3MFModel *model, PLib3MFModelObjectResource *object)
{
    Part part;
    char name[64] = {};
    ULONG length = 0;
    lib3mf_object_getnameutf8(object, name, sizeof name, &length);
    part.name = name;
    const Lib3mf properties
        = get([&](auto out) { lib3mf_object_createdefaultpropertyhandler(object, out); });
    DWORD group = 0, index = 0;
    if (lib3mf_defaultpropertyhandler_getbasematerial(properties.get(), &group, &index)
        == LIB3MF_OK) {
        const Lib3mf materials
            = get([&](auto out) { lib3mf_model_getbasematerialbyid(model, group, out); });
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
    for (const MODELMESHTRIANGLE &t : triangles) {
        Triangle &corners = part.triangles.emplace_back();
        for (int k = 0; k < 3; ++k)
            for (int axis = 0; axis < 3; ++axis)
                corners[k][axis] = vertices[t.m_nIndices[k]].m_fPosition[axis];
    }
    part.closed = !triangles.empty() && closed(triangles);
    return part;
}

} // namespace

class TestSolidFiles : public QObject {
    Q_OBJECT

private slots:
    // meshio sees every cell's top where the model puts it.
    void stlByMeshio_data() { addCaseRows(); }
    void stlByMeshio()
    {
        QFETCH(int, index);
        const ReliefCase c = reliefCases()[std::size_t(index)];
        const ExportResult result = exportStl(c.points, c.colours, c.options);
        QVERIFY2(result.ok(), result.error.c_str());
        QCOMPARE(result.nonFinite, c.nonFinite);
        QCOMPARE(result.snapped, c.snapped);
        QCOMPARE(result.dropped, c.dropped);
        const ReadBack read = readExported("stl", result.bytes);
        if (!read.missing.isEmpty())
            QSKIP(qPrintable("not installed: " + read.missing));
        std::vector<Triangle> triangles;
        for (const QJsonValue &t : read.seen["triangles"].toArray()) {
            const auto corners = rows(t);
            triangles.push_back({Vertex {corners[0][0], corners[0][1], corners[0][2]},
                                 Vertex {corners[1][0], corners[1][1], corners[1][2]},
                                 Vertex {corners[2][0], corners[2][1], corners[2][2]}});
        }
        QCOMPARE(triangles.size(), result.triangles);
        QCOMPARE(topsSeen(triangles, c.options.pixelSize), c.tops(true));
    }

    // admesh finds one closed part with nothing to repair, of the columns' and the plate's volume.
    void stlByAdmesh_data() { addCaseRows(); }
    void stlByAdmesh()
    {
        QFETCH(int, index);
        if (QStandardPaths::findExecutable("admesh").isEmpty())
            QSKIP("admesh is not installed");
        const ReliefCase c = reliefCases()[std::size_t(index)];
        const ExportedFile file(exportStl(c.points, c.colours, c.options).bytes, "relief.stl");
        QProcess admesh;
        admesh.start("admesh", {file.path});
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

    // lib3mf reads, without warnings, one build item of the colour groups' and the plate's
    // objects, each closed, named and coloured as its columns.
    void threeMfByLib3mf_data() { addCaseRows(); }
    void threeMfByLib3mf()
    {
        QFETCH(int, index);
        const ReliefCase c = reliefCases()[std::size_t(index)];
        ExportResult result = export3mf(c.points, c.colours, c.options); // lib3mf reads non-const
        QVERIFY2(result.ok(), result.error.c_str());
        QCOMPARE(result.dropped, c.dropped);

        const Lib3mf model = get([](auto out) { lib3mf_createmodel(out); });
        const Lib3mf reader
            = get([&](auto out) { lib3mf_model_queryreader(model.get(), "3mf", out); });
        QCOMPARE(
            lib3mf_reader_readfrombuffer(reader.get(), result.bytes.data(), result.bytes.size()),
            LIB3MF_OK);
        DWORD warnings = 1, unit = 0;
        lib3mf_reader_getwarningcount(reader.get(), &warnings);
        QCOMPARE(warnings, DWORD(0));
        lib3mf_model_getunit(model.get(), &unit);
        QCOMPARE(unit, DWORD(MODELUNIT_MILLIMETER));

        const Lib3mf items = get([&](auto out) { lib3mf_model_getbuilditems(model.get(), out); });
        BOOL more = false;
        QVERIFY(lib3mf_builditemiterator_movenext(items.get(), &more) == LIB3MF_OK && more);
        const Lib3mf item
            = get([&](auto out) { lib3mf_builditemiterator_getcurrent(items.get(), out); });
        QVERIFY(lib3mf_builditemiterator_movenext(items.get(), &more) == LIB3MF_OK && !more);
        const Lib3mf assembly
            = get([&](auto out) { lib3mf_builditem_getobjectresource(item.get(), out); });
        BOOL isAssembly = false;
        lib3mf_object_iscomponentsobject(assembly.get(), &isAssembly);
        QVERIFY(isAssembly);

        DWORD components = 0;
        lib3mf_componentsobject_getcomponentcount(assembly.get(), &components);
        std::map<std::pair<int, int>, std::pair<double, Colour>> seen;
        std::set<Colour> groupColours;
        bool plateSeen = false;
        for (DWORD n = 0; n < components; ++n) {
            const Lib3mf component = get(
                [&](auto out) { lib3mf_componentsobject_getcomponent(assembly.get(), n, out); });
            const Lib3mf object
                = get([&](auto out) { lib3mf_component_getobjectresource(component.get(), out); });
            const Part part = readPart(model.get(), object.get());
            QVERIFY2(part.closed, qPrintable(part.name));
            if (part.name == "Base plate") {
                plateSeen = true;
                QCOMPARE(part.material, kWhite);
                QVERIFY(qAbs(enclosedVolume(part.triangles) - c.plateVolume()) < 1e-5);
                continue;
            }
            QCOMPARE(part.name, QString::asprintf("#%02X%02X%02X", part.material & 0xFF,
                                                  part.material >> 8 & 0xFF, part.material >> 16));
            QVERIFY(groupColours.insert(part.material).second);
            for (const auto &[cell, top] : topsSeen(part.triangles, c.options.pixelSize))
                seen[cell] = {top, part.material};
        }
        QVERIFY(plateSeen);
        std::map<std::pair<int, int>, std::pair<double, Colour>> expected;
        for (const auto &[cell, top] : c.tops(false))
            expected[cell] = {top, c.columns.at(cell).second};
        QCOMPARE(seen, expected);
    }
};

QTEST_GUILESS_MAIN(TestSolidFiles)
#include "tst_solid_files.moc"
