#include "colour_groups.h"
#include "export_input.h"
#include "relief.h"
#include "relief_mesh.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

using namespace NMR;

namespace {

struct Release {
    void operator()(PLib3MFBase *object) const { lib3mf_release(object); }
};
// One reference to a lib3mf object, given back at the end.
using Ref = std::unique_ptr<PLib3MFBase, Release>;

void check(LIB3MFRESULT status, PLib3MFBase *object)
{
    if (status == LIB3MF_OK)
        return;
    LPCSTR message = nullptr;
    DWORD code = 0;
    if (object)
        lib3mf_getlasterror(object, &code, &message);
    throw std::runtime_error(message ? message : "lib3mf error " + std::to_string(status));
}

// The object a lib3mf call hands out through its last argument.
template<typename Call> Ref make(PLib3MFBase *owner, Call call)
{
    PLib3MFBase *object = nullptr;
    check(call(&object), owner);
    return Ref(object);
}

// An opaque base material; lib3mf's own default would be transparent.
void addMaterial(PLib3MFModelBaseMaterial *materials, const std::string &name, Colour colour,
                 DWORD &index)
{
    const auto [red, green, blue] = channelsOf(colour);
    check(lib3mf_basematerial_addmaterialutf8(materials, name.c_str(), red, green, blue, &index),
          materials);
    check(lib3mf_basematerial_setdisplaycolorrgba(materials, index, red, green, blue, 255),
          materials);
}

// The object's triangles all take its group's material, so a reader colours the part as a whole.
Ref addMesh(PLib3MFModel *model, const Mesh &mesh, const std::string &name, DWORD materials,
            DWORD material)
{
    std::vector<MODELMESHVERTEX> vertices(mesh.vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i)
        for (int k = 0; k < 3; ++k)
            vertices[i].m_fPosition[k] = mesh.vertices[i][k];
    std::vector<MODELMESHTRIANGLE> triangles(mesh.triangles.size());
    for (std::size_t i = 0; i < triangles.size(); ++i)
        for (int k = 0; k < 3; ++k)
            triangles[i].m_nIndices[k] = mesh.triangles[i][k];
    Ref object = make(model, [&](auto out) { return lib3mf_model_addmeshobject(model, out); });
    check(lib3mf_meshobject_setgeometry(object.get(), vertices.data(), DWORD(vertices.size()),
                                        triangles.data(), DWORD(triangles.size())),
          object.get());
    check(lib3mf_object_setnameutf8(object.get(), name.c_str()), object.get());
    const Ref properties = make(object.get(), [&](auto out) {
        return lib3mf_object_createdefaultpropertyhandler(object.get(), out);
    });
    check(lib3mf_defaultpropertyhandler_setbasematerial(properties.get(), materials, material),
          properties.get());
    return object;
}

// The 3MF package's bytes, as lib3mf writes them through its callbacks.
struct Package {
    std::vector<std::uint8_t> bytes;
    std::size_t at = 0;

    static std::uint32_t write(const std::uint8_t *data, std::uint32_t size, void *self)
    {
        Package &package = *static_cast<Package *>(self);
        if (package.bytes.size() < package.at + size)
            package.bytes.resize(package.at + size);
        std::copy(data, data + size, package.bytes.begin() + std::ptrdiff_t(package.at));
        package.at += size;
        return 0;
    }
    static std::uint32_t seek(std::uint64_t position, void *self)
    {
        static_cast<Package *>(self)->at = position;
        return 0;
    }
};

} // namespace

ExportResult export3mf(std::span<const Coords> points, std::span<const Colour> colours,
                       const ExportOptions &options)
{
    const Relief relief = buildRelief(points, colours, options.solid);
    ExportResult result = solidResult(relief);
    if (!relief.ok())
        return result;
    const ColourGrouping grouping = groupColours(columnColours(relief), options.solid.colourGroups);
    const std::vector<int> groupOfCell = groupOfCells(relief, grouping);

    try {
        const Ref model = make(nullptr, [](auto out) { return lib3mf_createmodel(out); });
        check(lib3mf_model_setunit(model.get(), MODELUNIT_MILLIMETER), model.get());
        const Ref materials = make(model.get(), [&](auto out) {
            return lib3mf_model_addbasematerialgroup(model.get(), out);
        });
        DWORD materialsId = 0, material = 0;
        check(lib3mf_basematerial_getresourceid(materials.get(), &materialsId), materials.get());
        // Readers want an object defined before the assembly that refers to it.
        std::vector<Ref> parts;
        for (std::size_t g = 0; g < grouping.groups.size(); ++g) {
            const Colour swatch = grouping.groups[g].swatch;
            const std::string name = colourName(swatch);
            addMaterial(materials.get(), name, swatch, material);
            const Mesh mesh = columnSolid(relief, groupOfCell, int(g));
            result.triangles += mesh.triangles.size();
            parts.push_back(addMesh(model.get(), mesh, name, materialsId, material));
        }
        addMaterial(materials.get(), "White", kWhite, material);
        const Mesh plate = plateSolid(relief);
        result.triangles += plate.triangles.size();
        parts.push_back(addMesh(model.get(), plate, "Base plate", materialsId, material));

        const Ref assembly = make(model.get(), [&](auto out) {
            return lib3mf_model_addcomponentsobject(model.get(), out);
        });
        check(lib3mf_object_setnameutf8(assembly.get(), "ZUVORAK relief"), assembly.get());
        for (const Ref &part : parts)
            make(assembly.get(), [&](auto out) {
                return lib3mf_componentsobject_addcomponent(assembly.get(), part.get(), nullptr,
                                                            out);
            });
        make(model.get(), [&](auto out) {
            return lib3mf_model_addbuilditem(model.get(), assembly.get(), nullptr, out);
        });
        const Ref writer = make(model.get(), [&](auto out) {
            return lib3mf_model_querywriter(model.get(), "3mf", out);
        });
        Package package;
        check(lib3mf_writer_writetocallback(writer.get(), reinterpret_cast<void *>(&Package::write),
                                            reinterpret_cast<void *>(&Package::seek), &package),
              writer.get());
        result.bytes = std::move(package.bytes);
    } catch (const std::exception &error) {
        result.error = ExportError::Writer;
    }
    return result;
}
